#include "PluginParts_win.h"

#include "dialogs/LyricDialogsFactory_win.h"
#include "lyricwindows/SkinnedLyricWindows_win.h"
#include "mvlink/MvLink_win.h"

CLyric::Parts MakePluginParts(const PluginTimings& timings) {
  CLyric::Parts parts;
  DialogOptions dialogs;
  dialogs.timings.selectTickMs = timings.selectLyricTickMs;
  dialogs.timings.wheelConfirmMs = timings.wheelConfirmMs;
  dialogs.timings.uploadCloseMs = timings.uploadCloseMs;
  parts.windows = MakeSkinnedLyricWindows();
  parts.dialogs = MakeLyricDialogs(dialogs);
  parts.mv = MakeMvLink();
  return parts;
}
