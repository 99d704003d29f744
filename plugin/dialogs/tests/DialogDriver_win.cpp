#include "DialogDriver_win.h"

#include <commctrl.h>

#include <vector>

#include "PngFile.h"
#include "shared/Ownership.h"

namespace dlgtest {

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
}

namespace {

struct Search {
  std::string title;
  HWND except;
  HWND owner;
  HWND found;
};

bool IsDialogClass(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "#32770";
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  if (window == s->except || !IsWindowVisible(window) || !IsDialogClass(window)) return TRUE;
  if (s->owner && GetWindow(window, GW_OWNER) != s->owner) return TRUE;
  if (!s->title.empty() && Text(window) != s->title) return TRUE;
  s->found = window;
  return FALSE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
  char name[32] = {};
  GetClassNameA(child, name, sizeof name);
  const std::string text = Text(child);
  auto* out = reinterpret_cast<std::string*>(param);
  if (std::string(name) == "Static" && text.size() > out->size()) *out = text;
  return TRUE;
}

BOOL CALLBACK MatchPopupMenu(HWND window, LPARAM param) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32768" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

}  // namespace

HWND FindDialog(DWORD threadId, const std::string& title, HWND except) {
  Search s{title, except, nullptr, nullptr};
  EnumThreadWindows(threadId, &MatchDialog, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitForDialog(DWORD threadId, const std::string& title, HWND except, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindDialog(threadId, title, except)) != nullptr; }, ms);
  return found;
}

MessageBoxSeen AnswerMessageBox(DWORD threadId, HWND owner, DWORD ms) {
  MessageBoxSeen seen;
  HWND box = nullptr;
  WaitFor(
      [&] {
        Search s{"", owner, owner, nullptr};
        EnumThreadWindows(threadId, &MatchDialog, reinterpret_cast<LPARAM>(&s));
        box = s.found;
        return box != nullptr;
      },
      ms);
  if (!box) return seen;
  seen.seen = true;
  seen.caption = Text(box);
  // The message is the longest static text of the box.
  EnumChildWindows(box, &LongestStatic, reinterpret_cast<LPARAM>(&seen.text));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(box); }, ms);
  return seen;
}

std::string Text(HWND window) {
  char text[4096] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWaitMs,
                           &length))
    return "";
  return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
bool ItemVisible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool ItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void SetItemText(HWND dialog, int id, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::thread SetItemTextAsync(HWND dialog, int id, const std::string& text) {
  return std::thread([dialog, id, text] { SetItemText(dialog, id, text); });
}

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

int ListRows(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), LVM_GETITEMCOUNT, 0, 0));
}

std::string ListCell(HWND dialog, int id, int row, int column) {
  // The list view lives in this process: its item text can be read directly.
  char text[512] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(GetDlgItem(dialog, id), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

void SelectListRow(HWND dialog, int id, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(GetDlgItem(dialog, id), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool Checked(HWND dialog, int id) {
  return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SelectListBoxItem(HWND dialog, int id, int index) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

HWND VisiblePage(HWND dialog) {
  for (HWND child = FindWindowExA(dialog, nullptr, "#32770", nullptr); child;
       child = FindWindowExA(dialog, child, "#32770", nullptr)) {
    if (IsWindowVisible(child)) return child;
  }
  return nullptr;
}

HWND FocusOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND FindPopupMenu(DWORD threadId) {
  HWND found = nullptr;
  EnumThreadWindows(threadId, &MatchPopupMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

namespace {

std::string OutputFolder() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string folder = exe;
  folder.resize(folder.find_last_of('\\'));          // ...\bin
  folder.resize(folder.find_last_of('\\') + 1);      // build folder
  folder += "test-output";
  CreateDirectoryA(folder.c_str(), nullptr);
  folder += "\\dialogs";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

std::string Screenshot(HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);  // the dialog thread paints
  RECT box{};
  GetWindowRect(window, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  if (width <= 0 || height <= 0) return "";
  zl::WindowDc screen(nullptr);
  zl::UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  zl::UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits) return "";
  {
    zl::SelectedObject selected(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), box.left, box.top, SRCCOPY);
  }
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  const auto* pixels = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    rgb[i * 3] = pixels[i * 4 + 2];
    rgb[i * 3 + 1] = pixels[i * 4 + 1];
    rgb[i * 3 + 2] = pixels[i * 4];
  }
  const std::string path = OutputFolder() + "\\" + name + ".png";
  return WritePng(path, width, height, rgb) ? path : "";
}

}  // namespace dlgtest
