#pragma once
// The MV window's settings, "<home>\config\VideoDlgConfig.ini" section
// "GUI": read at start, written at shutdown.
#include <string>

#include "window/VideoSkinLayout.h"

namespace clipview {

struct VideoDlgSettings {
  std::string facePath = "\\face\\video\\";
  int x = -1, y = -1;  // -1: centred
  int width = skin::kDefaultWidth, height = skin::kDefaultHeight;
  int minWidth = skin::kMinWidth, minHeight = skin::kMinHeight;
  int backColor = 0x1d2127, borderColor = 0x0c0e11, listBorderColor = 0x0c0e11, miniBackColor = 0;
  int controlX = 0, controlY = 0, controlWidth = 0, controlHeight = 0;
  bool hold = false;
  int noVideoShows = 0;  // "NOMVSHOW"
  bool isNormalSize = true;
  int volumeValue = 8;
  bool mute = false;
  int normalX = -1, normalY = -1, normalWidth = skin::kDefaultWidth, normalHeight = skin::kDefaultHeight;
};

// Windows only (VideoDlgConfig_win.cpp). A missing file gives the defaults.
VideoDlgSettings LoadVideoDlgSettings(const std::string& path);
bool SaveVideoDlgSettings(const std::string& path, const VideoDlgSettings& settings);

}  // namespace clipview
