// CDlgVideoMain: the video and picture pages, playback of the video and the
// play controls.
#include <cstdio>

#include "FlashHost_win.h"
#include "SkinButton_win.h"
#include "window/DlgVideoMain_win.h"

namespace clipview {

void CDlgVideoMain::ShowPage(bool pictureHost, bool statusHost, bool videoWindow) {
  ShowWindow(m_pictureHost, pictureHost ? SW_SHOW : SW_HIDE);
  ShowWindow(m_statusHost, statusHost ? SW_SHOW : SW_HIDE);
  ShowWindow(m_video, videoWindow ? SW_SHOW : SW_HIDE);
}

void CDlgVideoMain::SelectTab(bool video) {
  m_videoPageActive = video;
  m_picturePageActive = !video;
  SetSkinButtonLatched(m_btnVideo, video);
  SetSkinButtonLatched(m_btnPic, !video);
}

void CDlgVideoMain::ShowAndRaise() {
  ShowWindow(m_hWnd, SW_SHOW);
  ShowWindow(m_hWnd, SW_RESTORE);
  SetForegroundWindow(m_hWnd);
  BringWindowToTop(m_hWnd);
  m_bDlgShow = true;
}

void CDlgVideoMain::LoadPicturePage() {
  const P2PResource pictures = m_resources->Pictures();
  const std::string movie = PicturePageMovie(m_resources->HasPictures(), pictures.status);
  m_pictureMovie = movie.empty() ? pictures.tempPath : m_swfFolder + movie;
  if (m_pictureFlash && !m_pictureFlash->PlayFlash(m_pictureMovie))
    Log("picture page %s could not be shown", m_pictureMovie.c_str());
}

void CDlgVideoMain::LoadStatusPage() {
  const std::string movie = m_swfFolder + StatusPageMovie(m_resources->HasVideo(), m_resources->DecoderInstalled(),
                                                          m_resources->Video().status, m_resources->Codec().status);
  // The same page keeps playing: a progress report must not restart it.
  if (movie == m_statusMovie && m_statusFlash && m_statusFlash->HasControl()) return;
  m_statusMovie = movie;
  if (m_statusFlash && !m_statusFlash->PlayFlash(m_statusMovie))
    Log("status page %s could not be shown", m_statusMovie.c_str());
}

bool CDlgVideoMain::StartVideo() {
  const P2PResource video = m_resources->Video();
  Log("FLV 可以播放，播放之,%u", video.usablePercent);
  if (!m_playback->RealPlayFile(video.tempPath)) return false;
  return m_videoPlaying;
}

void CDlgVideoMain::OnBtnVideo(LPARAM from) {
  if (m_videoPageActive && from == 0) {
    Log("已经在video,no change");
    return;
  }
  if (!m_videoPageActive) {
    SelectTab(true);
    m_enumUserChoice = mv::choice_video;
    if (m_bDlgShow) m_sender.SendUserChoiceMsg(mv::choice_video);
  }
  if (from == 0) {
    ShowPage(false, true, false);
    LoadStatusPage();
  }
  if (m_resources->CanPlay()) {
    bool started = false;
    if (m_videoPlaying) {
      ShowWindow(m_video, SW_SHOW);
      Log("FLV 已经在播放了");
    } else if (m_bDlgShow) {
      started = StartVideo();
    }
    if (started) {
      m_statusText = m_resources->StatusText();
      RedrawStatus();
      if (m_minimized) {
        m_showVideoOnRestore = true;
        Log("Window is minimized,no show mv");
      } else if (m_videoPageActive) {
        ShowPage(false, false, true);
        m_playback->Resize(m_video);
        RedrawWindow(m_video, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      } else {
        ShowPage(true, false, false);
        Log("用户已经选择写真");
      }
      m_sender.SendStopPlayerMsg();
    }
  } else if (m_resources->HasVideo()) {
    m_resources->DownloadFLV();
    m_statusText = kTextSearching;
    RedrawStatus();
    Log("FLV不可播放,mv还未下载完成");
  } else {
    Log("FLV不可播放,该歌曲无此mv");
  }
  if (from == kVideoFromPlay) ShowAndRaise();
}

void CDlgVideoMain::OnBtnPic() {
  if (m_picturePageActive) {
    Log("已经是pic,no need change");
    return;
  }
  // A song without video switches to the pictures without taking away
  // the user's choice of the video.
  if (m_videoPageActive && (m_previousChoice == mv::choice_pic || m_resources->HasVideo())) {
    m_enumUserChoice = mv::choice_pic;
    m_sender.SendUserChoiceMsg(mv::choice_pic);
  }
  SelectTab(false);
  ShowPage(true, false, false);
  LoadPicturePage();
  m_resources->DownloadSwf();
}

void CDlgVideoMain::OnFLVPlay() {
  if (!m_videoPageActive || m_videoPlaying || !m_bDlgShow || !m_resources->CanPlay()) return;
  if (!StartVideo()) return;
  if (m_minimized) {
    m_showVideoOnRestore = true;
  } else {
    ShowWindow(m_video, SW_SHOW);
    ShowWindow(m_statusHost, SW_HIDE);
    m_playback->Resize(m_video);
    RedrawWindow(m_video, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  m_sender.SendStopPlayerMsg();
}

void CDlgVideoMain::StopVideoPlayback() {
  KillTimer(m_hWnd, ID_TIMER_FLV_PLAY);
  if (m_playback) m_playback->StopPlayback();
  m_videoPlaying = false;
  if (m_fullScreen) ToggleFullScreen();
  ShowWindow(m_video, SW_HIDE);
  ShowPlayButton(true);
  EnableWindow(m_btnPlay, FALSE);
  EnableWindow(m_btnStop, FALSE);
}

void CDlgVideoMain::OnPlayClock() {
  if (!m_videoPageActive || !m_videoPlaying) return;
  const P2PResource video = m_resources->Video();
  PlayClockInput in;
  in.paused = m_paused;
  in.userPaused = m_userPaused;
  in.seekable = m_seekable;
  if (m_seekable && !m_paused) in.graphPosition = m_playback->Position();
  in.buffering.downloading = video.status == kStatusDownloading;
  in.buffering.finished = video.status == kStatusFinished;
  in.buffering.playSeconds = m_playSeconds;
  in.buffering.durationSeconds = m_durationSeconds;
  in.buffering.usablePercent = video.usablePercent;
  in.buffering.totalSize = video.totalSize;
  const PlayClockStep step = PlayClockTick(in);
  m_playSeconds = step.playSeconds;
  // The download's progress shows in the status line while the video plays.
  m_statusText = m_resources->StatusText();
  if (step.resume) {
    m_playback->Run();
    ShowPlayButton(false);
    m_paused = false;
    if (step.statusText) m_statusText = step.statusText;
  } else if (step.pause) {
    m_playback->Pause();
    ShowPlayButton(true);
    m_paused = true;
    m_userPaused = false;
    Log("buffering: paused at %u s, %u%% usable", m_playSeconds, video.usablePercent);
  }
  RedrawStatus();
}

void CDlgVideoMain::OnStopButton() {
  if (!m_videoPlaying || m_resources->Video().status != kStatusFinished) return;
  m_playback->Stop();
  ShowPlayButton(true);
  m_paused = true;
  m_userPaused = true;
  m_playSeconds = 0;
  RedrawStatus();
}

void CDlgVideoMain::OnPlayButton() {
  if (!m_videoPlaying) return;
  m_playback->Run();
  ShowPlayButton(false);
  m_paused = false;
  m_userPaused = false;
}

void CDlgVideoMain::OnPauseButton() {
  if (!m_videoPlaying) return;
  m_playback->Pause();
  ShowPlayButton(true);
  m_paused = true;
  m_userPaused = true;
}

void CDlgVideoMain::OnMute() {
  m_settings.mute = !m_settings.mute;
  SetSkinButtonLatched(m_btnMute, m_settings.mute);
  ApplyVolume();
  SaveVideoDlgSettings(m_configPath, m_settings);
}

void CDlgVideoMain::ApplyVolume() {
  if (m_playback) m_playback->SetVolume(m_settings.mute ? 0.0 : VolumePercent(m_settings.volumeValue));
}

void CDlgVideoMain::ShowPlayButton(bool play) {
  ShowWindow(m_btnPlay, play ? SW_SHOW : SW_HIDE);
  ShowWindow(m_btnPause, play ? SW_HIDE : SW_SHOW);
}

void CDlgVideoMain::ToggleFullScreen() {
  if (!m_video) return;
  if (!m_fullScreen) {
    GetWindowRect(m_video, &m_videoRect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&m_videoRect), 2);
    SetParent(m_video, nullptr);
    SetWindowLongPtrA(m_video, GWL_STYLE, (GetWindowLongPtrA(m_video, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetWindowPos(m_video, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    m_fullScreen = true;
  } else {
    SetWindowLongPtrA(m_video, GWL_STYLE, (GetWindowLongPtrA(m_video, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(m_video, m_hWnd);
    SetWindowPos(m_video, HWND_NOTOPMOST, m_videoRect.left, m_videoRect.top, m_videoRect.right - m_videoRect.left,
                 m_videoRect.bottom - m_videoRect.top, SWP_FRAMECHANGED);
    m_fullScreen = false;
  }
  if (m_playback) m_playback->Resize(m_video);
}

}  // namespace clipview
