#pragma once
// playerhost.exe [options] PLAYLIST.m3u
// playerhost.exe [options] FILE...
#include <string>
#include <vector>

#include "PlaylistEntry.h"

namespace playerhost {

struct CommandLine {
  bool playAtOnce = false;      // --play
  bool repeat = false;          // --repeat
  int defaultLengthSec = 180;   // --default-length SECONDS
  std::string skinName;         // --skin NAME
  std::string pluginFolder;     // --plugins FOLDER ("" = Plugins beside the program)
  bool loadPlugins = true;      // --no-plugins
  bool hidden = false;          // --hidden
  int hangAfterMs = 0;          // --hang-after MS
  int hangForMs = 0;            // --hang-for MS (0: never hangs)
  bool help = false;            // --help
  // --register / --unregister: write or remove the registry entries a
  // Winamp installation leaves (its folder for the installing user and its
  // uninstaller entry), then end without showing anything.
  enum class Registration { None, Register, Unregister } registration = Registration::None;
  std::vector<std::string> items;  // playlists and song files, in order
};

std::string UsageText();

// False with a reason in `error` for an unknown option, a missing or bad value.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// The playlist the items make: M3U files are read and expanded in place,
// other items are songs of the default length.
bool BuildPlaylist(const CommandLine& cmd, std::vector<PlaylistEntry>& entries, std::string& error);

}  // namespace playerhost
