#include "PluginParts_win.h"

#include "controller/PlainParts_win.h"
#include "dialogs/LyricDialogsFactory_win.h"
#include "mvlink/MvLink_win.h"

CLyric::Parts MakePluginParts(const PluginTimings& timings) {
  CLyric::Parts parts;
  DialogOptions dialogs;
  dialogs.timings.selectTickMs = timings.selectLyricTickMs;
  dialogs.timings.wheelConfirmMs = timings.wheelConfirmMs;
  dialogs.timings.uploadCloseMs = timings.uploadCloseMs;
  parts.windows = MakePlainLyricWindows();
  parts.dialogs = MakeLyricDialogs(dialogs);
  parts.mv = MakeMvLink();
  return parts;
}
