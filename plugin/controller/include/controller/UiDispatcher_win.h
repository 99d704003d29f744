#pragma once
// Runs work on the player's UI thread, where the lyric windows live: timers,
// window creation and showing must happen on the thread that owns the
// window. Create it on the UI thread; Run may be called from any thread.
//
// Run from the UI thread runs the work at once. From another thread it
// sends the work to the UI thread and waits at most limitMs; the work owns
// what it captures (by value), so a UI thread that runs it late touches
// nothing freed. A busy or hung UI thread never blocks the caller longer
// than the limit.
#include <windows.h>

#include <functional>

#include "shared/Ownership.h"

class UiDispatcher {
 public:
  static constexpr DWORD kDefaultLimitMs = 5000;

  UiDispatcher();  // on the UI thread
  ~UiDispatcher();  // on the UI thread; later Run calls do nothing
  UiDispatcher(const UiDispatcher&) = delete;
  UiDispatcher& operator=(const UiDispatcher&) = delete;

  // True when the work ran (on the UI thread) within the limit.
  bool Run(std::function<void()> work, DWORD limitMs = kDefaultLimitMs);

  bool OnUiThread() const { return ::GetCurrentThreadId() == m_uiThread; }
  DWORD UiThreadId() const { return m_uiThread; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  DWORD m_uiThread;
  zl::UniqueWindow m_window;  // message-only
};
