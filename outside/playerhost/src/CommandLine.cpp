#include "CommandLine.h"

#include <cerrno>
#include <cstdlib>

#include "M3uPlaylist.h"

namespace playerhost {
namespace {

bool ParseInt(const std::string& text, int minValue, int maxValue, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || !end || *end != '\0' || v < minValue || v > maxValue) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

std::string UsageText() {
  return "usage: playerhost [options] PLAYLIST.m3u\n"
         "       playerhost [options] FILE...\n"
         "options:\n"
         "  --play                  start playing the first entry at once\n"
         "  --repeat                wrap to the first entry after the last one\n"
         "  --default-length SEC    length of songs without one (default 180)\n"
         "  --skin NAME             skin name the player reports (default empty)\n"
         "  --plugins FOLDER        load gen_*.dll from FOLDER (default Plugins beside the program)\n"
         "  --no-plugins            load no plug-ins\n"
         "  --hidden                keep the windows hidden\n"
         "  --hang-after MS         start of the hang (default 0)\n"
         "  --hang-for MS           stop answering messages for MS milliseconds\n"
         "  --register              record this program's folder as Winamp's installation and end\n"
         "  --unregister            remove that record and end\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  out = CommandLine();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    auto intValue = [&](int minValue, int maxValue, int& v) {
      std::string text;
      if (!value(text)) return false;
      if (!ParseInt(text, minValue, maxValue, v)) {
        error = a + ": not a number from " + std::to_string(minValue) + " to " +
                std::to_string(maxValue) + ": " + text;
        return false;
      }
      return true;
    };
    if (a == "--play") {
      out.playAtOnce = true;
    } else if (a == "--repeat") {
      out.repeat = true;
    } else if (a == "--no-plugins") {
      out.loadPlugins = false;
    } else if (a == "--hidden") {
      out.hidden = true;
    } else if (a == "--register") {
      out.registration = CommandLine::Registration::Register;
    } else if (a == "--unregister") {
      out.registration = CommandLine::Registration::Unregister;
    } else if (a == "--help" || a == "-h" || a == "/?") {
      out.help = true;
    } else if (a == "--default-length") {
      if (!intValue(1, 24 * 3600, out.defaultLengthSec)) return false;
    } else if (a == "--hang-after") {
      if (!intValue(0, 3600 * 1000, out.hangAfterMs)) return false;
    } else if (a == "--hang-for") {
      if (!intValue(0, 3600 * 1000, out.hangForMs)) return false;
    } else if (a == "--skin") {
      if (!value(out.skinName)) return false;
    } else if (a == "--plugins") {
      if (!value(out.pluginFolder)) return false;
    } else if (a == "--") {
      out.items.insert(out.items.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      error = "unknown option " + a;
      return false;
    } else {
      out.items.push_back(a);
    }
  }
  return true;
}

bool BuildPlaylist(const CommandLine& cmd, std::vector<PlaylistEntry>& entries, std::string& error) {
  entries.clear();
  for (const std::string& item : cmd.items) {
    if (IsPlaylistFileName(item)) {
      std::vector<PlaylistEntry> loaded;
      if (!LoadM3uFile(item, cmd.defaultLengthSec, loaded, error)) return false;
      entries.insert(entries.end(), loaded.begin(), loaded.end());
    } else {
      entries.push_back(PlaylistEntry{item, TitleFromPath(item), cmd.defaultLengthSec});
    }
  }
  return true;
}

}  // namespace playerhost
