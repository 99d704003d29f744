#pragma once
// The plug-in's half of the link to the MV player ClipView, as the
// controller uses it. One implementation per plug-in, created at start-up
// with the controller and deleted at quit after every worker has ended.
//
// Threads: the senders are called from the song-change, fetch and pre-fetch
// threads and from the UI thread, and must bound every wait (ClipView may
// hang). The controller checks mvEnabled (and webMode) before calling a
// sender, as the design says; an implementation need not check again.
#include <windows.h>

#include "lyriccore/LyricRecords.h"

class CPlayerListener;
class ILyricController;

class IMvLink {
 public:
  virtual ~IMvLink() = default;

  // UI, once, at start-up: the controller the link reports to.
  virtual void Attach(ILyricController* controller) = 0;
  // The MV-window listener of the player's events (added to the player's
  // listener list after the controller), or null when the link needs none.
  virtual CPlayerListener* Listener() = 0;

  // Clears the per-song flag that the lyric window keeps (every song change,
  // after the settling pause).
  virtual void ClearSongFlag() = 0;

  // Senders. True/false where the design gives a result.
  virtual bool SendDownloadMsg(SignPair flv, SignPair swf, int flvStatus, int swfStatus) = 0;
  virtual void SendPreDownloadMsg(SignPair flv, SignPair swf) = 0;
  virtual bool SendPlayMsg(bool video) = 0;
  virtual void SendStopMsg() = 0;
  virtual void SendStopDownloadMsg() = 0;
  virtual void SendStopPreDownloadMsg() = 0;
  virtual void SendHideVideoMsg() = 0;
  virtual void SendCloseWindowMsg() = 0;
  virtual void SendStartNewSongMsg() = 0;

  // UI: the user asks for the video (0) or the pictures (1).
  virtual void ShowVideoWindow(int choice) = 0;

  // UI: a message of the mini window, which receives what ClipView sends
  // (WM_COPYDATA), KillVideo's WM_USER + 1 and the heartbeat timer 100 (the
  // mini window runs that timer while it exists). True when handled, with
  // the answer in `result`; the window handles everything else itself.
  virtual bool OnMiniWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
};
