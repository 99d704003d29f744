#pragma once
// The settings dialog: four pages chosen from a list, a reset button, and
// OK that reports engine-relevant changes, stores and saves the settings.
#include <windows.h>

#include <functional>
#include <string>

#include "controller/LyricDialogs.h"
#include "settings/SettingsStore.h"

namespace lyricdlg {

struct SettingsDialogInput {
  std::string home;
  SettingsStore* store = nullptr;
  SettingsPage page = SettingsPage::Font;
  bool customFont = false;  // opened for a custom font: OK makes it the lyric font
  // Posts a usage event and waits for its thread ("ChangeConf").
  std::function<void(const char*)> postEvent;
};

// True when the user pressed OK (the settings are saved then).
bool RunSettingsDialog(HWND owner, const SettingsDialogInput& input);

}  // namespace lyricdlg
