#pragma once
// The main lyric window's docking to the player's windows at run time: it
// reads where the player's windows are, snaps the lyric window at the end
// of a move, and moves it along when the player's main window moves.
// Player's UI thread only.
#include <windows.h>

#include "controller/LyricWindows.h"
#include "lyricwindows/Docking.h"

class PlayerDocking {
 public:
  // The player's main window (classic skin).
  void SetPlayerWindow(HWND player) { m_player = player; }
  HWND PlayerWindow() const { return m_player; }
  // With the modern skin its own main window docks, bottom raised.
  void SetModern(bool modern);
  bool Modern() const { return m_modern; }

  // Where the player's windows are now (screen coordinates).
  PlayerWindows Snapshot() const;

  DockState State() const { return m_state; }
  // Attached or free, as the window now lies (after it was placed).
  void Recheck(HWND lyric);
  // The user finished moving the lyric window: still attached, snapped
  // against the player, or free.
  void OnLyricMoveEnded(HWND lyric);
  // A message of a hooked player window: a docked lyric window follows the
  // main window's moves and copies its always-on-top state.
  void OnPlayerMessage(PlayerWindowKind kind, HWND window, UINT msg, HWND lyric);

  // A new lyric window's place: against the player's main window's right
  // edge, tops aligned (or the work area's corner without a player).
  ViewRect BuiltInPlace(int width, int height) const;

 private:
  HWND DockWindow() const;  // the window the lyric window docks to
  void Follow(HWND dock, HWND lyric);

  HWND m_player = nullptr;
  HWND m_modernWindow = nullptr;
  bool m_modern = false;
  DockState m_state = DockState::Free;
  bool m_haveLast = false;
  ViewRect m_lastPlayer{};
};

ViewRect WindowRectOf(HWND window);
