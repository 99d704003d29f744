#pragma once
// The four pages of the settings dialog: child dialogs that show a copy of
// the settings and read the user's changes back into it.
#include <windows.h>

#include <memory>
#include <string>

#include "DialogCommon_win.h"
#include "shared/LyricSettings.h"

namespace lyricdlg {

class SettingsPageBase {
 public:
  SettingsPageBase(const DialogTexts& texts, const std::string& home) : m_texts(texts), m_home(home) {}
  virtual ~SettingsPageBase() = default;
  SettingsPageBase(const SettingsPageBase&) = delete;
  SettingsPageBase& operator=(const SettingsPageBase&) = delete;

  // Creates the page inside `parent`, over `area` (client coordinates), hidden.
  bool Create(HWND parent, const RECT& area);
  HWND Window() const { return m_window; }

  // Fills the controls; `keepFolders` leaves the folder list as the user edited it.
  virtual void Load(const zl::LyricSettings& values, bool keepFolders) = 0;
  // Reads the controls into `values`; false when a value is refused, with
  // a beep and the field at fault in Fault().
  virtual bool Read(zl::LyricSettings& values) = 0;
  HWND Fault() const { return m_fault; }

 protected:
  virtual int TemplateId() const = 0;
  virtual void Init() {}
  virtual INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  const DialogTexts& m_texts;
  const std::string m_home;
  HWND m_window = nullptr;
  HWND m_fault = nullptr;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
};

std::unique_ptr<SettingsPageBase> MakeFontPage(const DialogTexts& texts, const std::string& home);
std::unique_ptr<SettingsPageBase> MakeLyricFilePage(const DialogTexts& texts, const std::string& home);
std::unique_ptr<SettingsPageBase> MakeNetworkPage(const DialogTexts& texts, const std::string& home);
std::unique_ptr<SettingsPageBase> MakeAboutPage(const DialogTexts& texts, const std::string& home);

}  // namespace lyricdlg
