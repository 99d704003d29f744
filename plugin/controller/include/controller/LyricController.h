#pragma once
// The lyric controller as its windows, dialogs and MV link see it. CLyric
// implements it; the three parts get it once, when the plug-in starts, and
// may keep the pointer until they are deleted (the controller outlives them).
//
// Threads: "UI" means the player's UI thread, which owns the lyric windows
// and runs the dialogs; "any" means any thread. Nothing here throws.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "lyriccore/LyricRecords.h"
#include "player/PlayerInterfaces.h"

class ILyricDialogs;
class ILyricWindows;
class IMvLink;
class LyricViewState;
class SettingsStore;
class ZLyric;

// The controller's state that the MV link reads and writes. Every field is
// atomic: the song-change, fetch and pre-fetch threads, the MV link's
// receiver and the UI thread all touch them.
struct MvLinkFlags {
  std::atomic<bool> mvEnabled{false};     // the MV window is in use
  std::atomic<int> userChoice{1};         // 0 video, 1 pictures
  std::atomic<int> playerState{2};        // 0 playing, 1 paused, 2 stopped
  std::atomic<bool> stoppedByVideo{false};
  std::atomic<bool> prefetchArmed{false};    // timer 3000 started for this song
  std::atomic<bool> prefetchAllowed{false};  // timer 3000 fired: pre-fetch at once
  std::atomic<bool> webMode{false};
};

class ILyricController {
 public:
  // ---- Shared objects (any) ----------------------------------------------
  virtual LyricViewState& View() = 0;
  virtual SettingsStore& Settings() = 0;
  virtual MvLinkFlags& Flags() = 0;
  // The install home ("" when it is not registered).
  virtual const std::string& Home() const = 0;
  // The controller's log file, for LogWrite.
  virtual const char* LogPath() const = 0;
  // True once the player's window is closing: draw nothing, start nothing.
  virtual bool Closing() const = 0;
  // The other parts, for the few calls between them (the MV link arms timer
  // 3000 on the main window; the mini window hands the MV link its messages).
  virtual ILyricWindows& Windows() = 0;
  virtual ILyricDialogs& Dialogs() = 0;
  virtual IMvLink& MvLink() = 0;

  // ---- The player (any; null once the plug-in is quitting) ---------------
  virtual CPlayerControlMessage* PlayerControl() = 0;
  virtual CPlayerQueryMessage* PlayerQuery() = 0;
  // The player's position in ms, asked within its time limit (0 when none).
  virtual int GetPlayPosition() = 0;

  // ---- From the lyric windows (UI) ---------------------------------------
  // Timer 1 of a lyric window: the repaint entry (draw lock, then the
  // windows' PaintLyric unless closing).
  virtual void OnTimerPaint(HWND window) = 0;
  // Every other timer of a lyric window (3000: MV pre-fetch; 46547: the wheel
  // confirmation).
  virtual void OnTimer(HWND window, UINT_PTR id) = 0;
  // WM_COMMAND of a lyric window that the window does not handle itself:
  // 203 stop and 210 play (posted by the controller), menu commands.
  virtual void OnCommand(HWND window, unsigned id) = 0;
  // WM_MOUSEWHEEL (its wParam) and the right button (the context menu).
  virtual void OnMouseWheel(HWND window, WPARAM wParam) = 0;
  virtual void OnRButtonUp(HWND window, POINT client) = 0;
  // A click on the message line (its code) or on a strip item (its kind).
  virtual void OnMessageClick(int code) = 0;
  virtual void OnStripClick(int kind) = 0;

  // ---- From the dialogs --------------------------------------------------
  // The engine of the current song (null between songs). The dialogs keep a
  // reference only while one of their worker threads uses it.
  virtual std::shared_ptr<ZLyric> CurrentEngine() = 0;
  // The user picked a result of a search by names: fetch it for the current
  // song (runs the engine on the calling thread).
  virtual void UseUserChoice(const SearchItem& item) = 0;
  // "Reset lyric": fetch the current song's resource again.
  virtual void ReloadLyric() = 0;
  // The current fetch's advice on the song's tags (the names recognised by
  // fingerprint; bUpdate 0 when none) and whether it found a candidate list.
  virtual tagUpdateInfo RecognitionAdvice(bool& foundList) = 0;
  // The user's answer in the recognition-result dialog: write the names (as
  // edited) into the song's tags when the song ends, or not.
  virtual void AnswerRecognition(bool writeTags, const tagUpdateInfo& names) = 0;

  // ---- From the MV link (any) --------------------------------------------
  // Derives the MV statuses from the current result and sends the download
  // request; the request's result (false in web mode or without the MV).
  virtual bool StartGetP2PResource() = 0;
  // Shows the kept result of the current song in the view again.
  virtual void UpdateResourceStatus() = 0;
  // The view shows the "MV is loading" message instead of the lyric.
  virtual void EmptyResourceForVideo() = 0;
  // The MV video (true) or the picture show (false) started: usage event.
  virtual void OnMvStarted(bool video) = 0;
  // The view offers the song's MV / the artist's pictures (its strip items).
  virtual bool ViewOffersMv() const = 0;
  virtual bool ViewOffersPictures() const = 0;

  // ---- Usage events (any) -------------------------------------------------
  // Posts "O:<name>" as an "EVENT"; with wait the caller waits a bounded time.
  virtual void PostUsageEvent(const char* name, bool wait) = 0;

 protected:
  ~ILyricController() = default;
};
