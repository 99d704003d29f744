#pragma once
// The stand-in player, runnable in-process: its windows and message loop run
// on a UI thread of their own, its plug-ins are loaded and started on that
// thread, and a test (or plug-in code under test) talks to it through
// window messages exactly as it would talk to the real player.
#include <windows.h>

#include <functional>
#include <memory>
#include "shared/CriticalSection.h"
#include <string>
#include <vector>

#include "PlayerModel.h"

namespace playerhost {

struct HostOptions {
  std::vector<PlaylistEntry> playlist;
  bool playAtOnce = false;     // start the first entry at once (else stopped on it)
  bool repeat = false;
  int defaultLengthSec = 180;
  std::string skinName;
  bool showWindows = true;     // false: the windows exist but stay hidden
  bool loadPlugins = true;
  std::string pluginFolder;    // "" = "Plugins" beside the program
  int hangAfterMs = 0;         // with hangForMs > 0: the UI thread stops
  int hangForMs = 0;           //   answering for a while (a hung player)
  TimeSource clock;            // empty = the system's steady clock
  std::function<void(const std::string&)> log;  // empty = standard error
};

struct HostState;

class CPlayerHost {
 public:
  CPlayerHost();
  ~CPlayerHost();  // closes the player if it still runs
  CPlayerHost(const CPlayerHost&) = delete;
  CPlayerHost& operator=(const CPlayerHost&) = delete;

  // Starts the UI thread and returns once the windows exist and the plug-ins
  // are started. False with a reason when the windows cannot be created.
  bool Start(HostOptions options, std::string& error);

  // Closes the player as WM_COMMAND 40001 does (plug-ins' quit, windows
  // destroyed, plug-ins unloaded) and waits for the UI thread.
  void Close();
  // Waits until the player has been closed by anyone (the program's main).
  void WaitClosed();
  bool IsRunning() const;

  HWND MainWindow() const;
  HWND EqualizerWindow() const;
  HWND PlaylistWindow() const;
  HWND ModernWindow() const;  // the modern skin's main window, or null
  DWORD UiThreadId() const;

  // The UI thread stops answering messages for `ms`; returns once it has
  // stopped (or after 5 s when it does not get to it).
  bool Hang(int ms);
  bool IsHung() const;

  // Sets the skin name on the UI thread (creates or drops the modern window).
  void SetSkinName(const std::string& name);
  void ShowSecondaryWindows(bool equalizer, bool playlist);

  // Runs f on the model under its lock, on the calling thread (also while
  // the UI thread is hung).
  template <typename F>
  auto WithModel(F f) {
    zl::Lock lock(ModelMutex());
    return f(Model());
  }

  std::vector<std::string> PluginNames() const;
  // Runs a started plug-in's config on the UI thread, as the player's
  // preferences do. False for an index without a plug-in.
  bool ConfigPlugin(size_t index);

 private:
  zl::CriticalSection& ModelMutex();
  PlayerModel& Model();
  std::unique_ptr<HostState> state_;
};

// "<folder of this program>\Plugins".
std::string DefaultPluginFolder();

}  // namespace playerhost
