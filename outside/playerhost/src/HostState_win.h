#pragma once
// What the stand-in's host API and its UI thread share.
#include <windows.h>

#include <atomic>
#include <future>
#include <memory>
#include "shared/CriticalSection.h"
#include <string>
#include <thread>
#include <vector>

#include "GenPlugins_win.h"
#include "PlayerHost_win.h"

namespace playerhost {

// Private messages to the main window (the UI thread does the work).
enum : UINT {
  WM_HOST_HANG = WM_APP + 1,          // wParam: ms
  WM_HOST_SET_SKIN = WM_APP + 2,      // lParam: const std::string*
  WM_HOST_SHOW_WINDOWS = WM_APP + 3,  // wParam: equalizer, lParam: playlist
  WM_HOST_CONFIG_PLUGIN = WM_APP + 4, // wParam: index; answer: 1 when it ran
};

struct HostState {
  HostOptions options;
  zl::CriticalSection modelMutex;
  std::unique_ptr<PlayerModel> model;

  std::thread ui;
  std::atomic<HWND> mainWindow{nullptr};
  std::atomic<HWND> equalizerWindow{nullptr};
  std::atomic<HWND> playlistWindow{nullptr};
  std::atomic<HWND> modernWindow{nullptr};
  std::atomic<DWORD> uiThreadId{0};
  std::atomic<bool> running{false};
  std::atomic<bool> hung{false};
  std::atomic<unsigned> hangsStarted{0};

  // UI thread only.
  CGenPlugins plugins;
  bool closing = false;
  uint64_t shownGeneration = ~uint64_t{0};
  std::string shownTitle;
  HWND playlistBox = nullptr;

  zl::CriticalSection namesMutex;
  std::vector<std::string> pluginNames;

  void Log(const std::string& line) const;
};

// The UI thread: creates the windows, starts the plug-ins, reports through
// `ready` (an error text, empty on success) and runs the message loop until
// the player is closed.
void RunPlayerUi(HostState* state, std::promise<std::string> ready);

}  // namespace playerhost
