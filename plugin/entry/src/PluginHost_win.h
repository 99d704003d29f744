#pragma once
// The plug-in's process-wide state and its outer shell: start-up and quit,
// the hooks on the player's windows and the song-check thread.
//
// Threads: StartUp, Config and ShutDown run on the player's UI thread, and
// so do the hooks. The song-check thread reads the player and broadcasts
// its events; it shares only the song-check state (under its lock) and the
// hooked modern window (atomic) with the UI thread.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "controller/Lyric.h"
#include "controller/PluginTimings.h"
#include "entry/PluginDiagnostics.h"
#include "player/ZoLyricWinamp.h"
#include "shared/BoundedWorker.h"
#include "shared/CriticalSection.h"
#include "shared/Ownership.h"

// What the song-check thread and the Stop hook share. The thread holds a
// reference, so none of it is freed while the thread could still run.
struct SongCheckState {
  zl::CriticalSection lock;  // the song-check lock: the two paths
  std::string lastSong;
  std::string previousSong;
  zl::UniqueHandle stop{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> modernSkin{false};
};

// One subclassed window: its saved procedure and whether ours is installed.
struct WindowHook {
  std::atomic<HWND> window{nullptr};
  std::atomic<WNDPROC> saved{nullptr};
};

class PluginHost {
 public:
  static PluginHost& Instance();

  int StartUp(HWND player);
  void Config();
  void ShutDown();

  void SetTimings(const PluginTimings& timings) { m_timings = timings; }
  bool Snapshot(ZoLyricSnapshot& out);

  // The hook procedures' view of the host (UI thread).
  CZoLyric_WINAMP* Player() const { return m_player.get(); }
  CLyric* Controller() const { return m_controller.get(); }
  SongCheckState* Check() const { return m_check.get(); }
  const std::string& LogPath() const { return m_logPath; }

  // Hooks, saved procedures and the subclassing rules.
  static WindowHook s_main, s_equalizer, s_playlist, s_modern;
  // Replaces the window's procedure with `proc`, remembering the old one.
  static bool Hook(WindowHook& hook, HWND window, WNDPROC proc);
  // Puts the saved procedure back when ours is still the window's; when
  // another subclasser came after us, ours stays as a pass-through and
  // this module is kept loaded for it.
  static void Unhook(WindowHook& hook, WNDPROC proc);

 private:
  PluginHost() = default;
  bool LoadEngine();
  void HookPlayerWindows();
  void UnhookPlayerWindows();
  void StartSongCheck();
  void StopSongCheck();
  void StartOncePerProcessThreads();
  void Log(const char* tag, const char* text) const;

  PluginTimings m_timings;
  std::atomic<bool> m_running{false};
  HWND m_playerWindow = nullptr;
  std::string m_home;
  std::string m_logPath;
  zl::UniqueModule m_engine;
  std::shared_ptr<CZoLyric_WINAMP> m_player;
  std::unique_ptr<CLyric> m_controller;
  CPlayerListener* m_mvListener = nullptr;
  std::shared_ptr<SongCheckState> m_check;
  zl::BoundedWorker m_checkWorker;
};

// The song-check thread's rounds (SongCheck_win.cpp).
// The controller outlives the thread: ShutDown stops the thread first.
void RunSongCheck(std::shared_ptr<SongCheckState> check, std::shared_ptr<CZoLyric_WINAMP> player, CLyric* controller,
                  DWORD uiThread, PluginTimings timings, std::string logPath);

// Hook procedures (PlayerHooks_win.cpp).
LRESULT CALLBACK ClassicWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EqualizerWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PlaylistWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ModernWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The start-up threads that live outside the plug-in's objects (StartupThreads_win.cpp).
void StartUpdateCheck(const std::string& home, const std::string& logPath);
void StartLastExitCheck();
void ClearPlayerRunningFlag();
