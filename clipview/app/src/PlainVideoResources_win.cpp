#include "PlainVideoResources_win.h"

#include "flv/FlvDecoder.h"
#include "shared/Logger.h"
#include "window/VideoDlgRules.h"
#include "window/VideoMessages.h"

namespace clipview {

void PlainVideoResources::OnDownload(const mv::MvDownloadRequest& request, int userChoice) {
  m_hasVideo = mv::HasResource(request.flvStatus);
  m_hasPictures = mv::HasResource(request.swfStatus);
  m_video = SlotState{};
  m_pictures = SlotState{};
  if (m_hasVideo) {
    m_text = "正在查找资源...";
  } else {
    m_text = "暂无此歌曲mv,欢迎上传!";
    PostMessageA(m_dialog, WM_COMMAND, IDC_BTN_PIC, 0);
  }
  const bool videoFirst = userChoice == mv::choice_video ? m_hasVideo : !m_hasPictures && m_hasVideo;
  (videoFirst ? m_video : m_pictures).status = kSlotRequested;
  PostMessageA(m_dialog, WM_REFRESH_STATUS, 0, 0);
  PostMessageA(m_dialog, WM_SHOW_PICTURES, 0, 0);
}

void PlainVideoResources::OnStopDownload() {
  if (m_video.status != kSlotIdle) m_video.status = kSlotCancelled;
  if (m_pictures.status != kSlotIdle) m_pictures.status = kSlotCancelled;
}

void PlainVideoResources::OnPlay(bool) {
  if (m_video.status == kSlotIdle && m_pictures.status == kSlotIdle) {
    LogWrite(m_logPath.c_str(), LOG_KEYINFO, "P2PMan", "WM_PLAY,NO resource,need resend sig");
    m_sender.SendDownloadP2PMsg();
  }
}

void PlainVideoResources::OnStartNewSong() {
  m_video = SlotState{};
  m_pictures = SlotState{};
}

bool PlainVideoResources::DecoderInstalled() { return IsFlvDecoderInstalled(); }

void PlainVideoResources::OnTimer(UINT_PTR id) { KillTimer(m_dialog, id); }

}  // namespace clipview
