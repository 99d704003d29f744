#include "PluginParts_win.h"

#include "controller/PlainParts_win.h"
#include "mvlink/MvLink_win.h"

CLyric::Parts MakePluginParts() {
  CLyric::Parts parts;
  parts.windows = MakePlainLyricWindows();
  parts.dialogs = MakePlainLyricDialogs();
  parts.mv = MakeMvLink();
  return parts;
}
