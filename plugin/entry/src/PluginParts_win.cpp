#include "PluginParts_win.h"

#include "controller/PlainParts_win.h"
#include "dialogs/LyricDialogsFactory_win.h"

CLyric::Parts MakePluginParts() {
  CLyric::Parts parts;
  parts.windows = MakePlainLyricWindows();
  parts.dialogs = MakeLyricDialogs();
  parts.mv = MakePlainMvLink();
  return parts;
}
