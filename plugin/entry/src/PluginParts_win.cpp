#include "PluginParts_win.h"

#include "controller/PlainParts_win.h"
#include "lyricwindows/SkinnedLyricWindows_win.h"

CLyric::Parts MakePluginParts() {
  CLyric::Parts parts;
  parts.windows = MakeSkinnedLyricWindows();
  parts.dialogs = MakePlainLyricDialogs();
  parts.mv = MakePlainMvLink();
  return parts;
}
