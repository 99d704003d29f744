#include "DialogCommon_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "DialogIds.h"

namespace lyricdlg {

HINSTANCE ResourceModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ResourceModule), &module);
  return module;
}

namespace {

// One activation context per process, made from the module's manifest.
HANDLE StylesContext() {
  static const zl::UniqueActCtx context = [] {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(ResourceModule(), path, sizeof path);
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path;
    request.hModule = ResourceModule();
    request.lpResourceName = MAKEINTRESOURCEA(IDR_DIALOGS_MANIFEST);
    return zl::UniqueActCtx(CreateActCtxA(&request));
  }();
  return context.Get();
}

}  // namespace

VisualStyles::VisualStyles() {
  HANDLE context = StylesContext();
  if (context != INVALID_HANDLE_VALUE && context) m_active = ActivateActCtx(context, &m_cookie) != FALSE;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

VisualStyles::~VisualStyles() {
  if (m_active) DeactivateActCtx(0, m_cookie);
}

DialogTexts::DialogTexts(const std::string& home) {
  if (!home.empty()) m_table.Load(StringTablePath(home));
}

void DialogTexts::Apply(HWND dialog, int id, const char* key) const {
  const std::string text = m_table.Get(key);
  if (id == 0)
    SetWindowTextA(dialog, text.c_str());
  else
    SetDlgItemTextA(dialog, id, text.c_str());
}

std::string GetText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(window, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

std::string GetItemText(HWND dialog, int id) { return GetText(GetDlgItem(dialog, id)); }
void SetItemText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
void ShowItem(HWND dialog, int id, bool show) { ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE); }
void EnableItem(HWND dialog, int id, bool enable) { EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE); }
bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void ShowKeyMessage(HWND owner, const DialogTexts& texts, const char* key) {
  const std::string text = texts(key);
  ShowMessage(owner, text, text);
}

void ShowMessage(HWND owner, const std::string& caption, const std::string& text) {
  MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

long long FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

bool ChooseOpenFile(HWND owner, const char* filterName, const char* pattern, const char* defaultExt,
                    std::string& path) {
  std::string filter = std::string(filterName) + '\0' + pattern + '\0' + '\0';
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrDefExt = defaultExt;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetOpenFileNameA(&ofn)) return false;
  path = file;
  return true;
}

bool ChooseFolder(HWND owner, const std::string& title, std::string& folder) {
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (!chosen) return false;
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  if (ok) folder = path;
  return ok;
}

void InitListView(HWND list, const std::vector<std::pair<std::string, int>>& columns, bool checkBoxes) {
  DWORD extended = LVS_EX_FULLROWSELECT;
  if (checkBoxes) extended |= LVS_EX_CHECKBOXES;
  ListView_SetExtendedListViewStyle(list, extended);
  int index = 0;
  for (const auto& column : columns) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<char*>(column.first.c_str());
    c.cx = column.second;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&c));
  }
}

int AddListRow(HWND list, const std::vector<std::string>& cells) {
  if (cells.empty()) return -1;
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListView_GetItemCount(list);
  item.pszText = const_cast<char*>(cells[0].c_str());
  const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return row;
  for (size_t i = 1; i < cells.size(); ++i) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(i);
    sub.pszText = const_cast<char*>(cells[i].c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
  }
  return row;
}

int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

INT_PTR ModalDialog::Run(HWND owner, int templateId) {
  VisualStyles styles;
  return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), owner, &ModalDialog::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    reinterpret_cast<ModalDialog*>(lParam)->m_window = window;
  }
  auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  INT_PTR handled = FALSE;
  try {
    if (msg == WM_DESTROY) self->OnClosing();
    handled = self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    EndDialog(window, IDCANCEL);
    handled = TRUE;
  }
  if (msg == WM_NCDESTROY) {
    self->m_window = nullptr;
    SetWindowLongPtrA(window, DWLP_USER, 0);
  }
  return handled;
}

}  // namespace lyricdlg
