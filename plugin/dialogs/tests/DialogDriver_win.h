#pragma once
// Drives the real dialogs from a second thread, by control identifier: find
// a dialog or message box of the dialog thread, set texts, click buttons,
// read labels, take screenshots. Every wait polls with a deadline.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace dlgtest {

constexpr DWORD kWaitMs = 10000;

// Polls `condition` until it holds or `ms` passed.
bool WaitFor(const std::function<bool()>& condition, DWORD ms = kWaitMs);

// A visible dialog (class #32770) of the thread whose caption is `title`
// (any caption when empty) and that is not `except`.
HWND FindDialog(DWORD threadId, const std::string& title = "", HWND except = nullptr);
HWND WaitForDialog(DWORD threadId, const std::string& title = "", HWND except = nullptr, DWORD ms = kWaitMs);
// A message box owned by `owner`: its caption and text, then it is closed with OK.
struct MessageBoxSeen {
  bool seen = false;
  std::string caption, text;
};
MessageBoxSeen AnswerMessageBox(DWORD threadId, HWND owner, DWORD ms = kWaitMs);

std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
bool ItemVisible(HWND dialog, int id);
bool ItemEnabled(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
// For a change that opens a message box: the text is set from a helper
// thread, which the caller joins once the box is answered.
std::thread SetItemTextAsync(HWND dialog, int id, const std::string& text);
// A click on a button, check box or radio button (posted; a disabled one ignores it).
void Click(HWND dialog, int id);
// List views.
int ListRows(HWND dialog, int id);
std::string ListCell(HWND dialog, int id, int row, int column);
void SelectListRow(HWND dialog, int id, int row);
bool Checked(HWND dialog, int id);
// A list box selection as the user makes it (LBN_SELCHANGE to the dialog).
void SelectListBoxItem(HWND dialog, int id, int index);
// The visible child dialog (a page) of a dialog.
HWND VisiblePage(HWND dialog);
// The window that has the keyboard focus on the thread.
HWND FocusOf(DWORD threadId);
// An open popup menu of the thread and its menu handle.
HWND FindPopupMenu(DWORD threadId);

// The window as it is on the screen, as a PNG file in the test output folder
// ("<build>/test-output/<name>.png"); the path written, or "" on failure.
std::string Screenshot(HWND window, const std::string& name);

}  // namespace dlgtest
