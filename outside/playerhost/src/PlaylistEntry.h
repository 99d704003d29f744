#pragma once
// One entry of the stand-in player's playlist.
#include <string>

namespace playerhost {

struct PlaylistEntry {
  std::string path;   // as given (system code page bytes)
  std::string title;  // shown in the main window's title
  int lengthSec = 0;  // always > 0 once the entry is in a playlist
};

// The title a player shows for a file it knows nothing about: the file name
// without its folder and extension ("C:\Music\Song.mp3" -> "Song").
std::string TitleFromPath(const std::string& path);

}  // namespace playerhost
