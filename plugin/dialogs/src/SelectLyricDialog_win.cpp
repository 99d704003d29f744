// The select-lyric dialog: the server's candidates, the first taken
// automatically after the countdown unless the user selects one first.
#include <windows.h>

#include <commctrl.h>

#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"

namespace lyricdlg {
namespace {

class SelectLyricDialog : public ModalDialog {
 public:
  SelectLyricDialog(const std::string& home, const std::vector<SearchItem>& candidates, unsigned tickMs,
                    const DialogWatch& watch)
      : m_texts(home), m_candidates(candidates), m_tickMs(tickMs), m_watch(watch) {}

  SelectLyricResult result;

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_INITDIALOG: Init(); return TRUE;
      case WM_TIMER:
        if (wParam == kCountdownTimer) OnTick();
        return TRUE;
      case WM_NOTIFY: OnNotify(*reinterpret_cast<NMHDR*>(lParam)); return TRUE;
      case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
      default: return FALSE;
    }
  }
  void OnClosing() override {
    KillTimer(m_window, kCountdownTimer);
    if (m_watch) m_watch(nullptr);
  }

 private:
  void Init() {
    m_texts.Apply(m_window, 0, "SelectLrcDlgTitle");
    m_texts.Apply(m_window, IDC_SL_PROMPT, "ChooseLyricToDownload");
    m_texts.Apply(m_window, IDC_SL_FILENAME_LABEL, "SaveFileName");
    m_texts.Apply(m_window, IDC_SL_COUNTDOWN, "AutoDownload");
    m_texts.Apply(m_window, IDOK, "Download");
    m_texts.Apply(m_window, IDCANCEL, "Cancel");
    HWND list = GetDlgItem(m_window, IDC_SL_LIST);
    InitListView(list, {{m_texts("Artist"), 130}, {m_texts("SongName"), 170}, {m_texts("Uploader"), 110}}, false);
    for (const SearchItem& c : m_candidates)
      AddListRow(list, {FieldText(c.artist), FieldText(c.title), FieldText(c.provider)});
    SendDlgItemMessageA(m_window, IDC_SL_FILENAME, EM_LIMITTEXT, 0, 0);
    if (!m_candidates.empty()) {
      m_quiet = true;
      ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      m_quiet = false;
      m_countdown.Start();
      SetTimer(m_window, kCountdownTimer, m_tickMs, nullptr);
    }
    if (m_watch) m_watch(m_window);
    SetForegroundWindow(m_window);
  }

  void OnTick() {
    switch (m_countdown.Tick()) {
      case SelectCountdown::Step::Show:
        SetItemText(m_window, IDC_SL_COUNTDOWN,
                    CountdownLabel(m_texts("WillBe"), m_countdown.Counter(), m_texts("LaterToAutoDownload")));
        break;
      case SelectCountdown::Step::ChooseFirst:
        KillTimer(m_window, kCountdownTimer);
        result.index = 0;
        result.fileName = LyricFileName(FieldText(m_candidates[0].artist), FieldText(m_candidates[0].title));
        EndDialog(m_window, IDOK);
        break;
      case SelectCountdown::Step::None: KillTimer(m_window, kCountdownTimer); break;
    }
  }

  void OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_SL_LIST || header.code != LVN_ITEMCHANGED || m_quiet) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uNewState & LVIS_SELECTED) || (change.uOldState & LVIS_SELECTED) || change.iItem < 0 ||
        static_cast<size_t>(change.iItem) >= m_candidates.size())
      return;
    // The user chose: the countdown stops for good.
    m_countdown.Stop();
    KillTimer(m_window, kCountdownTimer);
    SetItemText(m_window, IDC_SL_COUNTDOWN, "");
    const SearchItem& item = m_candidates[static_cast<size_t>(change.iItem)];
    std::string name = LyricFileName(FieldText(item.artist), FieldText(item.title));
    CutToLimit(name, kMaxFileNameBytes);
    m_quiet = true;
    SetItemText(m_window, IDC_SL_FILENAME, name);
    m_quiet = false;
    EnableItem(m_window, IDOK, true);
  }

  void OnCommand(int id, int code) {
    if (id == IDC_SL_FILENAME && code == EN_CHANGE && !m_quiet) {
      std::string name = GetItemText(m_window, IDC_SL_FILENAME);
      if (CutToLimit(name, kMaxFileNameBytes)) {
        ShowKeyMessage(m_window, m_texts, "FileNameTooLong");
        m_quiet = true;
        SetItemText(m_window, IDC_SL_FILENAME, name);
        SendDlgItemMessageA(m_window, IDC_SL_FILENAME, EM_SETSEL, name.size(), name.size());
        m_quiet = false;
      }
    } else if (id == IDOK) {
      const int row = SelectedRow(GetDlgItem(m_window, IDC_SL_LIST));
      if (row < 0 || !IsWindowEnabled(GetDlgItem(m_window, IDOK))) return;
      result.index = row;
      result.fileName = GetItemText(m_window, IDC_SL_FILENAME);
      EndDialog(m_window, IDOK);
    } else if (id == IDCANCEL) {
      result = SelectLyricResult();
      EndDialog(m_window, IDCANCEL);
    }
  }

  DialogTexts m_texts;
  const std::vector<SearchItem>& m_candidates;
  unsigned m_tickMs;
  DialogWatch m_watch;
  SelectCountdown m_countdown;
  bool m_quiet = false;  // our own changes to the list and the name field
};

}  // namespace

SelectLyricResult RunSelectLyricDialog(HWND owner, const std::string& home, const std::vector<SearchItem>& candidates,
                                       unsigned tickMs, const DialogWatch& watch) {
  SelectLyricDialog dialog(home, candidates, tickMs, watch);
  if (dialog.Run(owner, IDD_SELECT_LYRIC) != IDOK) return {};
  return dialog.result;
}

}  // namespace lyricdlg
