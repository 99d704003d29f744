// The search-and-relate dialog: search the lyric server by names and pick a
// candidate, or link a local lyric file to the song.
#include <windows.h>

#include <commctrl.h>

#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"
#include "shared/BoundedWorker.h"

namespace lyricdlg {
namespace {

// What the search thread hands back; it owns it together with the dialog.
struct SearchOutcome {
  Result result = RESULT_NET_ERR;
  std::vector<SearchItem> list;
};

class SearchRelateDialog : public ModalDialog {
 public:
  SearchRelateDialog(const std::string& home, const SearchRelateInput& input, const DialogWatch& watch)
      : m_texts(home), m_input(input), m_watch(watch) {}

  SearchRelateResult result;

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    switch (msg) {
      case WM_INITDIALOG: Init(); return TRUE;
      case WM_COMMAND: OnCommand(LOWORD(wParam)); return TRUE;
      default: return FALSE;
    }
  }
  void OnClosing() override {
    if (m_watch) m_watch(nullptr);
  }

 private:
  void Init() {
    m_texts.Apply(m_window, 0, "SearchAndRelateLrc");
    m_texts.Apply(m_window, IDC_SR_GROUP, "ResearchTheLyric");
    m_texts.Apply(m_window, IDC_SR_SONG_LABEL, "SongName");
    m_texts.Apply(m_window, IDC_SR_ARTIST_LABEL, "Artist");
    m_texts.Apply(m_window, IDC_SR_SONG_HINT, "InputSongName");
    m_texts.Apply(m_window, IDC_SR_ARTIST_HINT, "InputArtist");
    m_texts.Apply(m_window, IDC_SR_LIST_LABEL, "TheRelationshipCanChoose");
    m_texts.Apply(m_window, IDC_SR_SEARCH, "Search");
    m_texts.Apply(m_window, IDC_SR_LOCAL, "LocalSearch");
    m_texts.Apply(m_window, IDC_SR_DONT_WANT, "DoNotWantLyric");
    m_texts.Apply(m_window, IDC_SR_NOTICE_NET, "SearchNetworkFailed");
    m_texts.Apply(m_window, IDC_SR_NOTICE_NONE, "SearchNothingFound");
    m_texts.Apply(m_window, IDOK, "Submit");
    m_texts.Apply(m_window, IDCANCEL, "Cancel");
    InitListView(GetDlgItem(m_window, IDC_SR_LIST), {{m_texts("LyricFile"), 330}, {m_texts("Uploader"), 110}},
                 false);
    SetItemText(m_window, IDC_SR_SONG, m_input.title);
    SetItemText(m_window, IDC_SR_ARTIST, m_input.artist);
    if (m_watch) m_watch(m_window);
  }

  void OnCommand(int id) {
    switch (id) {
      case IDC_SR_SEARCH: Search(); break;
      case IDC_SR_LOCAL: LinkLocalFile(); break;
      case IDOK: Submit(); break;
      case IDCANCEL: EndDialog(m_window, IDCANCEL); break;
      default: break;
    }
  }

  void Search() {
    std::string song = GetItemText(m_window, IDC_SR_SONG);
    std::string artist = GetItemText(m_window, IDC_SR_ARTIST);
    if (const char* error = SearchInputError(song, artist)) {
      ShowKeyMessage(m_window, m_texts, error);
      return;
    }
    HWND list = GetDlgItem(m_window, IDC_SR_LIST);
    ListView_DeleteAllItems(list);
    m_found.clear();
    EnableItem(m_window, IDOK, false);
    ShowItem(m_window, IDC_SR_NOTICE_NET, false);
    ShowItem(m_window, IDC_SR_NOTICE_NONE, false);
    ShowWindow(list, SW_SHOW);
    UpdateWindow(m_window);

    // The dialog waits for the server (it does not answer meanwhile); the
    // engine's own time-out ends the request, the bound only guards a hang.
    auto outcome = std::make_shared<SearchOutcome>();
    std::shared_ptr<ZLyric> engine = m_input.engine;
    zl::WorkerEnd end = zl::WorkerEnd::NotStarted;
    if (engine) {
      end = zl::RunBounded(
          [engine, outcome, artist, song] { engine->UserSearchRes(artist, song, outcome->result, outcome->list); },
          m_input.searchLimitMs, [engine] { engine->CloseUserConnection(); }, 2000);
    }
    const bool finished = end == zl::WorkerEnd::Finished || end == zl::WorkerEnd::Cancelled;
    const Result r = finished ? outcome->result : RESULT_NET_ERR;
    const std::vector<SearchItem> found = finished ? outcome->list : std::vector<SearchItem>();
    const SearchNotice notice = NoticeForSearch(r, found.size());
    if (notice != SearchNotice::None) {
      ShowWindow(list, SW_HIDE);
      ShowItem(m_window, notice == SearchNotice::NetworkFailed ? IDC_SR_NOTICE_NET : IDC_SR_NOTICE_NONE, true);
      return;
    }
    m_found = found;
    for (const SearchItem& item : m_found)
      AddListRow(list, {LyricFileName(FieldText(item.artist), FieldText(item.title)), FieldText(item.provider)});
    EnableItem(m_window, IDOK, true);
  }

  void LinkLocalFile() {
    std::string path;
    if (!ChooseOpenFile(m_window, "Lyric Files (*.lrc)", "*.lrc", "lrc", path)) return;
    if (LyricFileError(path, FileSizeOf(path), false)) {
      ShowMessage(m_window, m_texts("ChooseFileFail"), m_texts("SubmitLittleThan10kFile"));
      return;
    }
    if (m_input.engine) {
      std::vector<TimeSentence> lyric;
      m_input.engine->LinkLrcFile(path, lyric);
      if (m_input.onLinked) m_input.onLinked(lyric);
    }
    result.linked = true;
    result.ok = true;
    EndDialog(m_window, IDOK);
  }

  void Submit() {
    result.ok = true;
    result.dontWant = IsChecked(m_window, IDC_SR_DONT_WANT);
    const int row = SelectedRow(GetDlgItem(m_window, IDC_SR_LIST));
    if (row >= 0 && static_cast<size_t>(row) < m_found.size()) {
      result.haveItem = true;
      result.item = m_found[static_cast<size_t>(row)];
    }
    EndDialog(m_window, IDOK);
  }

  DialogTexts m_texts;
  const SearchRelateInput& m_input;
  DialogWatch m_watch;
  std::vector<SearchItem> m_found;
};

}  // namespace

SearchRelateResult RunSearchRelateDialog(HWND owner, const std::string& home, const SearchRelateInput& input,
                                         const DialogWatch& watch) {
  SearchRelateDialog dialog(home, input, watch);
  if (dialog.Run(owner, IDD_SEARCH_RELATE) != IDOK) return {};
  return dialog.result;
}

}  // namespace lyricdlg
