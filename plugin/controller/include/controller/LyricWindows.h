#pragma once
// What the controller asks of its lyric windows: the main lyric window, the
// mini window, their timers and the docking to the player's windows. The
// plug-in creates one implementation at start-up (on the player's UI
// thread) and deletes it at quit (on that thread, after every worker that
// could call it has ended).
//
// Threads: every window belongs to the player's UI thread. Operations marked
// "any" may be called from any thread (the song-check, song-change and fetch
// threads call them); an implementation runs the window work on the UI
// thread (UiDispatcher) and never blocks its caller for long. Operations
// marked "UI" are called only on the UI thread.
#include <windows.h>

class ILyricController;

// Identifiers the controller and the windows share.
namespace lyricwin {
constexpr UINT_PTR kRepaintTimer = 1;          // 300 ms main window, 30 ms mini window
constexpr UINT_PTR kMvPrefetchTimer = 3000;    // one-shot, armed by the MV link
constexpr UINT_PTR kWheelConfirmTimer = 46547; // one-shot, armed by the wheel
constexpr unsigned kCommandClose = 1;          // WM_COMMAND: close the main window
constexpr unsigned kCommandCancel = 2;
constexpr unsigned kCommandStopPlayer = 203;   // the main window's stop button
constexpr unsigned kCommandPlayPlayer = 210;   // the main window's play button
}  // namespace lyricwin

// The player's windows whose messages the hooks pass on for docking.
enum class PlayerWindowKind { Main, Equalizer, Playlist, Modern };

class ILyricWindows {
 public:
  virtual ~ILyricWindows() = default;

  // UI, once, before anything else: the controller the windows report to.
  virtual void Attach(ILyricController* controller) = 0;

  // any: creates the main lyric window when it does not exist and shows it
  // (with timer 1) unless the mini window is shown. True when it exists
  // afterwards. The controller calls it on every song change.
  virtual bool EnsureMainWindow() = 0;
  virtual bool HasMainWindow() const = 0;  // any
  virtual HWND MainWindow() const = 0;     // any; null when there is none
  virtual HWND MiniWindow() const = 0;     // any; null when there is none

  // any: show starts timer 1, hide stops it.
  virtual void ShowMainWindow() = 0;
  virtual void HideMainWindow() = 0;
  virtual void ShowMiniWindow() = 0;
  virtual void HideMiniWindow() = 0;
  virtual bool MiniWindowShown() const = 0;  // any

  // any: WM_COMMAND 1 to the main window; it saves its layout and goes.
  virtual void CloseMainWindow() = 0;
  // any: posts WM_COMMAND id to the main window (203 stop, 210 play).
  virtual void PostMainCommand(unsigned id) = 0;
  // any: timers of the main window (3000, 46547); their WM_TIMER goes to
  // the controller's OnTimer.
  virtual void SetMainTimer(UINT_PTR id, UINT ms) = 0;
  virtual void KillMainTimer(UINT_PTR id) = 0;
  // any: the play/pause/stop controls follow the controller's playerState
  // (0 playing, 1 paused, 2 stopped).
  virtual void RefreshPlayControls(int playerState) = 0;

  // UI, inside the draw lock: one repaint cycle of the lyric view for the
  // window (main or mini), from the controller's OnTimerPaint.
  virtual void PaintLyric(HWND window) = 0;

  // any (the song-check thread sees the change): the player's skin changed;
  // the windows reload their skins.
  virtual void OnSkinChanged(const char* skinName) = 0;
  // UI: a message of a hooked player window, before the player sees it
  // (WM_COMMAND, WM_WINDOWPOSCHANGED, WM_LBUTTONDOWN, WM_LBUTTONUP): docking
  // and following the player. Never called while the skin is modern for the
  // classic windows.
  virtual void OnPlayerWindowMessage(PlayerWindowKind kind, HWND window, UINT msg, WPARAM wParam,
                                     LPARAM lParam) = 0;
};
