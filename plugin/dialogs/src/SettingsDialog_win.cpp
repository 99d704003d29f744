#include "SettingsDialog_win.h"

#include <memory>

#include "DialogIds.h"
#include "SettingsPages_win.h"
#include "dialogs/SettingsRules.h"

namespace lyricdlg {
namespace {

class SettingsDialog : public ModalDialog {
 public:
  explicit SettingsDialog(const SettingsDialogInput& input) : m_input(input), m_texts(input.home) {
    m_before = input.store->Values();
    m_edit = m_before;
  }

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg == WM_INITDIALOG) {
      Init();
      return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
      case IDC_ST_PAGES:
        if (HIWORD(wParam) == LBN_SELCHANGE)
          ShowPage(static_cast<int>(SendDlgItemMessageA(m_window, IDC_ST_PAGES, LB_GETCURSEL, 0, 0)));
        return TRUE;
      case IDC_ST_RESET: Reset(); return TRUE;
      case IDOK: ChangeConf(); return TRUE;
      case IDCANCEL: EndDialog(m_window, IDCANCEL); return TRUE;
      default: return FALSE;
    }
  }

 private:
  // Page order in the list: font, lyric file, network, about.
  void Init() {
    m_texts.Apply(m_window, 0, "AmbrelConfig");
    m_texts.Apply(m_window, IDC_ST_RESET, "ResetAll");
    m_texts.Apply(m_window, IDOK, "Submit");
    m_texts.Apply(m_window, IDCANCEL, "Cancel");
    m_pages[0] = MakeFontPage(m_texts, m_input.home);
    m_pages[1] = MakeLyricFilePage(m_texts, m_input.home);
    m_pages[2] = MakeNetworkPage(m_texts, m_input.home);
    m_pages[3] = MakeAboutPage(m_texts, m_input.home);
    const char* names[4] = {"ConfigLyricFont", "ConfigLyricFile", "ConfigNetwork", "ConfigAbout"};
    RECT area{};
    GetWindowRect(GetDlgItem(m_window, IDC_ST_PAGE_AREA), &area);
    MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&area), 2);
    for (int i = 0; i < 4; ++i) {
      SendDlgItemMessageA(m_window, IDC_ST_PAGES, LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(m_texts(names[i]).c_str()));
      m_pages[i]->Create(m_window, area);
      m_pages[i]->Load(m_edit, false);
    }
    const int first = static_cast<int>(m_input.page);
    SendDlgItemMessageA(m_window, IDC_ST_PAGES, LB_SETCURSEL, static_cast<WPARAM>(first), 0);
    ShowPage(first);
  }

  void ShowPage(int index) {
    if (index < 0 || index > 3) return;
    for (int i = 0; i < 4; ++i) {
      if (HWND page = m_pages[i]->Window()) ShowWindow(page, i == index ? SW_SHOW : SW_HIDE);
    }
  }

  // The reset values go to the dialog's copy; the store keeps its values
  // until OK.
  void Reset() {
    zl::ResetLyricSettings(m_input.store->Home(), m_edit);
    for (auto& page : m_pages) page->Load(m_edit, true);
  }

  void ChangeConf() {
    zl::LyricSettings edited = m_edit;
    if (!m_pages[2]->Read(edited)) return ShowPageOf(2);
    if (!m_pages[1]->Read(edited)) return ShowPageOf(1);
    m_pages[0]->Read(edited);
    if (m_input.customFont) edited.font.UserDefineFont = true;
    if (settingsdlg::ConfChanged(m_before, edited) && m_input.postEvent) m_input.postEvent("ChangeConf");
    m_input.store->Modify([&edited](zl::LyricSettings& s) { settingsdlg::ApplyDialogValues(edited, s); });
    m_input.store->SaveSettings();
    m_input.store->SaveLocalFolders();
    EndDialog(m_window, IDOK);
  }

  // A refused value: its page comes to the front with the focus on the field.
  void ShowPageOf(int index) {
    SendDlgItemMessageA(m_window, IDC_ST_PAGES, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowPage(index);
    if (HWND field = m_pages[index]->Fault()) {
      SendMessageA(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
      SendMessageA(field, EM_SETSEL, 0, -1);
    }
  }

  const SettingsDialogInput& m_input;
  DialogTexts m_texts;
  zl::LyricSettings m_before;
  zl::LyricSettings m_edit;
  std::unique_ptr<SettingsPageBase> m_pages[4];
};

}  // namespace

bool RunSettingsDialog(HWND owner, const SettingsDialogInput& input) {
  if (!input.store) return false;
  SettingsDialog dialog(input);
  return dialog.Run(owner, IDD_SETTINGS) == IDOK;
}

}  // namespace lyricdlg
