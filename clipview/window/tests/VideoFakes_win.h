#pragma once
// Downloads and playback the MV window test drives by hand, and the
// plug-in's mini window as a recording stand-in.
#include <windows.h>

#include <string>
#include <vector>

#include "MvTestSupport_win.h"
#include "flv/FlvPlayback.h"
#include "window/VideoBackends.h"
#include "window/VideoDlgRules.h"

namespace videotest {

struct FakeResources : clipview::IVideoResources {
  bool hasVideo = false, hasPictures = false, decoder = true, canPlay = false;
  clipview::P2PResource video, pictures, codec;
  std::string text = "正在查找资源...";
  std::vector<std::string> calls;

  void OnDownload(const mv::MvDownloadRequest& r, int) override {
    calls.push_back("OnDownload");
    hasVideo = mv::HasResource(r.flvStatus);
    hasPictures = mv::HasResource(r.swfStatus);
  }
  void OnPreDownload(const mv::MvDownloadRequest&) override { calls.push_back("OnPreDownload"); }
  void OnStopDownload() override { calls.push_back("OnStopDownload"); }
  void OnStopPreDownload() override { calls.push_back("OnStopPreDownload"); }
  void OnPlay(bool v) override { calls.push_back(v ? "OnPlay 1" : "OnPlay 0"); }
  void OnStartNewSong() override { calls.push_back("OnStartNewSong"); }
  bool HasVideo() override { return hasVideo; }
  bool HasPictures() override { return hasPictures; }
  clipview::P2PResource Video() override { return video; }
  clipview::P2PResource Pictures() override { return pictures; }
  clipview::P2PResource Codec() override { return codec; }
  bool DecoderInstalled() override { return decoder; }
  std::string StatusText() override { return text; }
  bool CanPlay() override { return canPlay; }
  void DownloadFLV() override { calls.push_back("DownloadFLV"); }
  void DownloadSwf() override { calls.push_back("DownloadSwf"); }
  void OnTimer(UINT_PTR id) override { calls.push_back("OnTimer " + std::to_string(id)); }
  void NotifyFlvPlayFailed() override { calls.push_back("NotifyFlvPlayFailed"); }
  void Shutdown() override { calls.push_back("Shutdown"); }
};

struct FakePlayback : clipview::IVideoPlayback {
  explicit FakePlayback(clipview::FlvPlaybackHost& h) : host(h) {}
  clipview::FlvPlaybackHost& host;
  unsigned duration = 200;
  bool seekable = false;
  long position = 0;
  bool failPlay = false;
  std::vector<std::string> calls;
  std::vector<double> volumes;

  bool RealPlayFile(const std::string& file) override {
    calls.push_back("RealPlayFile " + file);
    if (failPlay) {
      host.PlaybackFailed();
      return false;
    }
    host.PlaybackStarted();
    return true;
  }
  void StopPlayback() override { calls.push_back("StopPlayback"); }
  void Run() override { calls.push_back("Run"); }
  void Pause() override { calls.push_back("Pause"); }
  void Stop() override { calls.push_back("Stop"); }
  void SetVolume(double percent) override { volumes.push_back(percent); }
  long Position() override { return position; }
  void SetPosition(long s) override { calls.push_back("SetPosition " + std::to_string(s)); }
  unsigned DurationSeconds() override { return duration; }
  bool Seekable() override { return seekable; }
  void Resize(HWND) override {}
  void OnGraphEvent(HWND) override {}
};

}  // namespace videotest
