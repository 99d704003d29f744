#pragma once
// The window's resources without the P2P download: it keeps what the
// plug-in says the song has and asks again when it holds nothing, but
// fetches nothing. ClipView runs with it until the download manager is in.
#include <windows.h>

#include "window/PlayerSender_win.h"
#include "window/VideoBackends.h"

namespace clipview {

class PlainVideoResources : public IVideoResources {
 public:
  PlainVideoResources(PlayerSender& sender, std::string logPath) : m_sender(sender), m_logPath(std::move(logPath)) {}
  void Attach(HWND dialog) { m_dialog = dialog; }

  void OnDownload(const mv::MvDownloadRequest& request, int userChoice) override;
  void OnPreDownload(const mv::MvDownloadRequest&) override {}
  void OnStopDownload() override;
  void OnStopPreDownload() override {}
  void OnPlay(bool video) override;
  void OnStartNewSong() override;
  bool HasVideo() override { return m_hasVideo; }
  bool HasPictures() override { return m_hasPictures; }
  SlotState Video() override { return m_video; }
  SlotState Pictures() override { return m_pictures; }
  SlotState Codec() override { return SlotState{}; }
  bool DecoderInstalled() override;
  std::string StatusText() override { return m_text; }
  bool CanPlay() override { return false; }
  void DownloadFLV() override {}
  void DownloadSwf() override {}
  void OnTimer(UINT_PTR id) override;
  void NotifyFlvPlayFailed() override {}
  void Shutdown() override {}

 private:
  PlayerSender& m_sender;
  std::string m_logPath;
  HWND m_dialog = nullptr;
  bool m_hasVideo = false, m_hasPictures = false;
  SlotState m_video, m_pictures;
  std::string m_text = "正在查找资源...";
};

}  // namespace clipview
