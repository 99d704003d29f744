// playerhost.exe: the player stand-in as a program, for the demo and for
// tests that want a player in a process of its own.
#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "PlayerHost_win.h"
#include "Registration_win.h"

int main(int argc, char** argv) {
  using namespace playerhost;
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cmd;
  std::string error;
  if (!ParseCommandLine(args, cmd, error)) {
    std::fprintf(stderr, "playerhost: %s\n%s", error.c_str(), UsageText().c_str());
    return 2;
  }
  if (cmd.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (cmd.registration != CommandLine::Registration::None) {
    char path[MAX_PATH] = {};
    const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
    const std::string folder = self.substr(0, self.find_last_of('\\'));
    const bool ok = cmd.registration == CommandLine::Registration::Register ? RegisterPlayerFolder(folder, error)
                                                                           : UnregisterPlayerFolder(error);
    if (!ok) std::fprintf(stderr, "playerhost: %s\n", error.c_str());
    return ok ? 0 : 1;
  }
  HostOptions options;
  if (!BuildPlaylist(cmd, options.playlist, error)) {
    std::fprintf(stderr, "playerhost: %s\n", error.c_str());
    return 2;
  }
  options.playAtOnce = cmd.playAtOnce;
  options.repeat = cmd.repeat;
  options.defaultLengthSec = cmd.defaultLengthSec;
  options.skinName = cmd.skinName;
  options.loadPlugins = cmd.loadPlugins;
  options.showWindows = !cmd.hidden;
  options.pluginFolder = cmd.pluginFolder;
  options.hangAfterMs = cmd.hangAfterMs;
  options.hangForMs = cmd.hangForMs;

  CPlayerHost host;
  if (!host.Start(options, error)) {
    std::fprintf(stderr, "playerhost: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "playerhost: %u entries, window %p\n",
               static_cast<unsigned>(options.playlist.size()), static_cast<void*>(host.MainWindow()));
  std::fflush(stderr);
  host.WaitClosed();
  return 0;
}
