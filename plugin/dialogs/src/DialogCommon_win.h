#pragma once
// What every lyric dialog shares: the module with the resources, the
// common-controls manifest, the string table, control texts, message boxes,
// file dialogs and the modal-dialog base class.
//
// Threads: a dialog belongs to the thread that runs it; nothing here is
// shared between dialogs except the resource module.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/StringTable.h"
#include "shared/Ownership.h"

namespace lyricdlg {

// The module that holds the dialog resources and this code (the plug-in
// DLL, or a test program).
HINSTANCE ResourceModule();

// The common-controls 6 manifest of the resource module, active on this
// thread for the life of the object, so the dialogs get the current look.
class VisualStyles {
 public:
  VisualStyles();
  ~VisualStyles();
  VisualStyles(const VisualStyles&) = delete;
  VisualStyles& operator=(const VisualStyles&) = delete;

 private:
  ULONG_PTR m_cookie = 0;
  bool m_active = false;
};

// A dialog's texts, loaded from "<home>\config\StringConfig.ini" when the
// dialog is created. A missing table or key reads as the empty text.
class DialogTexts {
 public:
  explicit DialogTexts(const std::string& home);
  std::string operator()(const char* key) const { return m_table.Get(key); }
  // The control's text (id 0: the dialog's caption) from the key.
  void Apply(HWND dialog, int id, const char* key) const;

 private:
  StringTable m_table;
};

std::string GetText(HWND window);
std::string GetItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
void ShowItem(HWND dialog, int id, bool show);
void EnableItem(HWND dialog, int id, bool enable);
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);

// A warning box: the key's text as caption and as text.
void ShowKeyMessage(HWND owner, const DialogTexts& texts, const char* key);
void ShowMessage(HWND owner, const std::string& caption, const std::string& text);

// Size of a file in bytes, -1 when it cannot be read.
long long FileSizeOf(const std::string& path);
// The open-file dialog with one filter ("Name\0*.ext\0"); false when cancelled.
bool ChooseOpenFile(HWND owner, const char* filterName, const char* pattern, const char* defaultExt,
                    std::string& path);
// The folder dialog; false when cancelled.
bool ChooseFolder(HWND owner, const std::string& title, std::string& folder);

// A report list view with full-row selection; check boxes on request.
void InitListView(HWND list, const std::vector<std::pair<std::string, int>>& columns, bool checkBoxes);
int AddListRow(HWND list, const std::vector<std::string>& cells);
int SelectedRow(HWND list);

// A modal dialog: a class with a message handler, run on the calling
// thread. Nothing thrown inside a handler leaves the dialog procedure; the
// dialog then ends with IDCANCEL.
class ModalDialog {
 public:
  virtual ~ModalDialog() = default;
  // DialogBoxParam with this object; -1 when the dialog could not be made.
  INT_PTR Run(HWND owner, int templateId);
  HWND Window() const { return m_window; }

 protected:
  // TRUE when the message was handled (as a dialog procedure returns).
  virtual INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // Called once, when the dialog goes (WM_DESTROY); m_window is still set.
  virtual void OnClosing() {}
  HWND m_window = nullptr;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Private messages of the dialogs.
constexpr UINT kMsgWorkDone = WM_APP + 0x31;  // wParam: the worker's Result

}  // namespace lyricdlg
