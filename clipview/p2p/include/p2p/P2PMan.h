#pragma once
// The MV window's download manager: five resource slots (video, pictures,
// the next song's video and pictures, the FLV decoder installer), the
// reaction to the plug-in's messages, the prefetch thread, the download
// time-outs and the status texts of the window.
//
// Create and call it on the dialog thread; the P2P reply thread reports
// into it and sends or posts the MvWindowMessages to the dialog. Slot state
// is read through snapshots, under the manager's lock.
#include <windows.h>

#include <memory>
#include <string>

#include "p2p/MvWindowMessages.h"
#include "p2p/P2PResource.h"
#include "shared/SignPair.h"

namespace clipview {

// What the manager needs from the MV window. Called from the dialog thread
// and from the P2P reply thread.
class P2PManHost {
 public:
  virtual ~P2PManHost() = default;
  virtual bool DialogShown() = 0;        // m_bDlgShow
  virtual UserChoice CurrentChoice() = 0;  // m_enumUserChoice
  // To the plug-in's mini window (WM_PLAYER_PLAY, WM_DOWNLOAD_P2P).
  virtual void SendPlayerPlayMsg() = 0;
  virtual void SendDownloadP2PMsg() = 0;
};

struct P2PManConfig {
  std::string commandLine;       // the window title; names the reply window
  std::string hostName;          // "WINAMP", "WMP" or "REAL", for usage events
  std::string logPath;           // <home>\log\log_clip_view.txt
  std::string interfaceLogPath;  // <home>\log\p2pinterface.log
  std::string userTemp;          // "" : GetTempPathA
  // Intervals (shortened by tests).
  DWORD downloadTimeoutMs = 60000;  // timers 4, 5 and 6
  DWORD restartTimerMs = 30000;     // the reply window's timer 1000
  DWORD prefetchPollMs = 1000;
  DWORD installerWaitMs = 600000;  // the decoder installer
  DWORD sendTimeoutMs = 2000;      // requests to the server
};

class P2PInterface;

class P2PMan {
 public:
  P2PMan(HWND dialog, P2PManHost& host, const P2PManConfig& config);
  ~P2PMan();  // Shutdown, then the reply window goes
  P2PMan(const P2PMan&) = delete;
  P2PMan& operator=(const P2PMan&) = delete;

  // The plug-in's messages (dialog thread).
  void OnDownload(uint32_t flvStatus, uint32_t swfStatus, SignPair flvSign, SignPair swfSign);
  void OnPreDownload(SignPair flvSign, SignPair swfSign);
  void OnStopDownload();
  void OnStopPreDownload();
  void OnPlay(bool video);
  void OnStartNewSong();

  // The window's own requests (dialog thread).
  void DownloadFLV();  // (re)starts the video download
  void DownloadSwf();  // starts the pictures unless they are under way or done
  // Decoder installed (checked afresh), video playable, status 3 or 4.
  bool CanPlay();
  // After a failed playback start: decoder check, decoder download.
  void NotifyFlvPlayFailed();
  // Hook off, every running download cancelled, prefetch stopped; later
  // reports are ignored.
  void Shutdown();

  // State for the window (any thread).
  P2PResource Slot(SlotKind kind) const;
  bool HasVideo() const;
  bool HasPictures() const;
  bool SupportsFlvCodec() const;
  // The video text while the decoder is installed, else the codec text.
  std::string StatusText() const;
  std::string VideoText() const;
  std::string CodecText() const;

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace clipview
