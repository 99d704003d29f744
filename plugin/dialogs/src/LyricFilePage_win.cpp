// The settings dialog's lyric-file page: where downloaded lyrics are saved,
// the recognition switches and the local lyric folders.
#include <windows.h>

#include <commctrl.h>

#include "DialogIds.h"
#include "SettingsPages_win.h"

namespace lyricdlg {
namespace {

// Read back into a 128-byte buffer when the settings load.
constexpr size_t kSavePathLimit = 127;

class LyricFilePage : public SettingsPageBase {
 public:
  using SettingsPageBase::SettingsPageBase;

  void Load(const zl::LyricSettings& v, bool keepFolders) override {
    SetChecked(m_window, IDC_FP_USE_SONG_NAME, v.SaveLrcFileAsSongFileName != 0);
    SetChecked(m_window, IDC_FP_IN_SONG_FOLDER, v.SaveLrcInSongPath != 0);
    SetChecked(m_window, IDC_FP_IN_OTHER_FOLDER, v.SaveLrcInSongPath == 0 && v.SaveLrcInOtherPath != 0);
    SetItemText(m_window, IDC_FP_PATH, v.LrcSavePath);
    SetChecked(m_window, IDC_FP_AUTO_RECO, v.autofprecognise);
    SetChecked(m_window, IDC_FP_USE_RECO, v.usefprecognise);
    EnablePath();
    if (keepFolders) return;
    HWND list = GetDlgItem(m_window, IDC_FP_FOLDERS);
    ListView_DeleteAllItems(list);
    for (const zl::LocalLyricFolder& folder : v.localFolders) AddFolder(folder.path, folder.checked);
  }

  bool Read(zl::LyricSettings& v) override {
    const std::string path = GetItemText(m_window, IDC_FP_PATH);
    if (path.size() > kSavePathLimit) {
      MessageBeep(MB_ICONWARNING);
      m_fault = GetDlgItem(m_window, IDC_FP_PATH);
      return false;
    }
    v.LrcSavePath = path;
    v.SaveLrcFileAsSongFileName = IsChecked(m_window, IDC_FP_USE_SONG_NAME) ? 1 : 0;
    v.SaveLrcInSongPath = IsChecked(m_window, IDC_FP_IN_SONG_FOLDER) ? 1 : 0;
    v.SaveLrcInOtherPath = IsChecked(m_window, IDC_FP_IN_OTHER_FOLDER) ? 1 : 0;
    v.autofprecognise = IsChecked(m_window, IDC_FP_AUTO_RECO);
    v.usefprecognise = IsChecked(m_window, IDC_FP_USE_RECO);
    v.localFolders.clear();
    HWND list = GetDlgItem(m_window, IDC_FP_FOLDERS);
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
      char text[MAX_PATH + 1] = {};
      LVITEMA item{};
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      if (text[0] == '\0') continue;
      v.localFolders.push_back({text, ListView_GetCheckState(list, row) != 0});
    }
    return true;
  }

 protected:
  int TemplateId() const override { return IDD_PAGE_FILE; }
  void Init() override {
    m_texts.Apply(m_window, IDC_FP_GROUP, "LyricFile");
    m_texts.Apply(m_window, IDC_FP_USE_SONG_NAME, "SaveLyricUseMusicFileName");
    m_texts.Apply(m_window, IDC_FP_IN_SONG_FOLDER, "SaveLyricUseMusicFileFolder");
    m_texts.Apply(m_window, IDC_FP_IN_OTHER_FOLDER, "SaveLyricInOtherFolder");
    m_texts.Apply(m_window, IDC_FP_PATH_LABEL, "LyricSavePath");
    m_texts.Apply(m_window, IDC_FP_BROWSE, "Browse");
    m_texts.Apply(m_window, IDC_FP_AUTO_RECO, "AutoFpRecognise");
    m_texts.Apply(m_window, IDC_FP_USE_RECO, "UseFpRecognise");
    m_texts.Apply(m_window, IDC_FP_FOLDERS_LABEL, "LocalLyricFolder");
    m_texts.Apply(m_window, IDC_FP_ADD, "AddFolder");
    m_texts.Apply(m_window, IDC_FP_REMOVE, "DeleteFolder");
    SendDlgItemMessageA(m_window, IDC_FP_PATH, EM_LIMITTEXT, kSavePathLimit, 0);
    HWND list = GetDlgItem(m_window, IDC_FP_FOLDERS);
    RECT box{};
    GetClientRect(list, &box);
    InitListView(list, {{"", box.right - GetSystemMetrics(SM_CXVSCROLL)}}, true);
  }

  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
      case IDC_FP_IN_SONG_FOLDER:
      case IDC_FP_IN_OTHER_FOLDER: EnablePath(); return TRUE;
      case IDC_FP_BROWSE: {
        std::string folder;
        if (ChooseFolder(m_window, m_texts("LyricSavePath"), folder)) SetItemText(m_window, IDC_FP_PATH, folder);
        return TRUE;
      }
      case IDC_FP_ADD: {
        std::string folder;
        if (ChooseFolder(m_window, m_texts("LocalLyricFolder"), folder)) AddFolder(folder, true);
        return TRUE;
      }
      case IDC_FP_REMOVE: {
        HWND list = GetDlgItem(m_window, IDC_FP_FOLDERS);
        const int row = SelectedRow(list);
        if (row >= 0) ListView_DeleteItem(list, row);
        return TRUE;
      }
      default: return FALSE;
    }
  }

 private:
  void EnablePath() {
    const bool inSongFolder = IsChecked(m_window, IDC_FP_IN_SONG_FOLDER);
    EnableItem(m_window, IDC_FP_PATH, !inSongFolder);
    EnableItem(m_window, IDC_FP_BROWSE, !inSongFolder);
  }
  void AddFolder(const std::string& path, bool checked) {
    HWND list = GetDlgItem(m_window, IDC_FP_FOLDERS);
    const int row = AddListRow(list, {path});
    if (row >= 0) ListView_SetCheckState(list, row, checked ? TRUE : FALSE);
  }
};

}  // namespace

std::unique_ptr<SettingsPageBase> MakeLyricFilePage(const DialogTexts& texts, const std::string& home) {
  return std::make_unique<LyricFilePage>(texts, home);
}

}  // namespace lyricdlg
