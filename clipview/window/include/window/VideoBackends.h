#pragma once
// What the MV dialog needs of the downloads (P2PMan) and of the playback
// (the FLV graph and its play-control sequence). Dialog thread only, except
// where P2PMan says otherwise.
#include <windows.h>

#include <cstdint>
#include <string>

#include "mvprotocol/MvProtocol.h"
#include "p2p/P2PResource.h"

namespace clipview {

class IVideoResources {
 public:
  virtual ~IVideoResources() = default;

  // The messages of the plug-in that the resources see.
  virtual void OnDownload(const mv::MvDownloadRequest& request, int userChoice) = 0;
  virtual void OnPreDownload(const mv::MvDownloadRequest& request) = 0;
  virtual void OnStopDownload() = 0;
  virtual void OnStopPreDownload() = 0;
  // Starts what the choice needs; with no resource at all, asks the plug-in
  // for the song's signatures again (WM_DOWNLOAD_P2P).
  virtual void OnPlay(bool video) = 0;
  virtual void OnStartNewSong() = 0;

  virtual bool HasVideo() = 0;
  virtual bool HasPictures() = 0;
  virtual P2PResource Video() = 0;
  virtual P2PResource Pictures() = 0;
  virtual P2PResource Codec() = 0;
  virtual bool DecoderInstalled() = 0;  // m_bSupportFLVCodec
  // The status line: the video text while the decoder is installed, else the codec text.
  virtual std::string StatusText() = 0;
  virtual bool CanPlay() = 0;

  virtual void DownloadFLV() = 0;  // request again, timer 4, "searching" text
  virtual void DownloadSwf() = 0;  // when not yet requested, started, downloading or finished
  virtual void OnTimer(UINT_PTR id) = 0;  // the download time-outs 4, 5, 6
  virtual void NotifyFlvPlayFailed() = 0;
  // Hook off, every download cancelled, the prefetch stopped.
  virtual void Shutdown() = 0;
};

// The playback. PlaybackStarted and PlaybackFailed come back through the
// dialog's FlvPlaybackHost face while RealPlayFile runs.
class IVideoPlayback {
 public:
  virtual ~IVideoPlayback() = default;
  virtual bool RealPlayFile(const std::string& file) = 0;
  virtual void StopPlayback() = 0;
  virtual void Run() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;  // back to the start, stopped
  virtual void SetVolume(double percent) = 0;
  virtual long Position() = 0;
  virtual void SetPosition(long seconds) = 0;
  virtual unsigned DurationSeconds() = 0;  // 0: unknown
  virtual bool Seekable() = 0;
  virtual void Resize(HWND videoWindow) = 0;
  virtual void OnGraphEvent(HWND mainWindow) = 0;
};

}  // namespace clipview
