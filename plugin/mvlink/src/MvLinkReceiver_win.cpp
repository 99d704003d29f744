// What the plug-in's mini window hands the MV link: ClipView's requests to
// the player, KillVideo's crash notice, the keep-alive of the heartbeat and
// the link's own deferred work.
#include "MvLinkCore_win.h"

namespace {
constexpr char kReceiveTag[] = "Recieve PLAYER MSG";
}  // namespace

bool MvLinkCore::OnMiniWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COPYDATA:
      if (lParam) OnCopyData(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      result = 0;
      return true;
    case mv::kVideoCrashMessage:
      OnVideoCrash();
      result = 0;
      return true;
    case kMsgDeferred:
      OnDeferred(wParam);
      result = 0;
      return true;
    default:
      return false;
  }
}

void MvLinkCore::OnCopyData(HWND window, const COPYDATASTRUCT& data) {
  ILyricController* owner = Owner();
  if (!owner || !owner->PlayerControl()) return;
  Log(kReceiveTag, "%s", mv::PlayerMessageName(data.dwData));
  const mv::PlayerMessage m = mv::DecodePlayerMessage(data.dwData, data.lpData, data.cbData);
  if (m.ignored) {
    Log(kReceiveTag, "ignored: code %lu with %lu bytes", static_cast<unsigned long>(data.dwData),
        static_cast<unsigned long>(data.cbData));
    return;
  }
  switch (m.code) {
    case mv::WM_PLAYER_STOP:
      OnPlayerStop(window, *owner);
      break;
    case mv::WM_PLAYER_PLAY:
      OnPlayerPlay(*owner);
      KillPrefetchTimer(*owner);
      break;
    case mv::WM_SONG_COMPLETE:
      OnSongComplete(*owner);
      break;
    case mv::WM_DOWNLOAD_P2P:
      // Sends to ClipView in turn: not while ClipView waits for this answer.
      PostMessageA(window, kMsgDeferred, kStartP2P, 0);
      break;
    case mv::WM_USER_CHOICE:
      owner->Flags().userChoice.store(m.choice);
      if (m.choice == mv::choice_pic && !m_picturesReported.exchange(true))
        PostMessageA(window, kMsgDeferred, kPicturesStarted, 0);
      break;
  }
}

void MvLinkCore::ArmPrefetchTimer(ILyricController& owner) {
  owner.Windows().SetMainTimer(lyricwin::kMvPrefetchTimer, m_options.timings.prefetchTimerMs);
}

void MvLinkCore::KillPrefetchTimer(ILyricController& owner) { owner.Windows().KillMainTimer(lyricwin::kMvPrefetchTimer); }

void MvLinkCore::OnPlayerStop(HWND window, ILyricController& owner) {
  CPlayerControlMessage* control = owner.PlayerControl();
  CPlayerQueryMessage* query = owner.PlayerQuery();
  MvLinkFlags& flags = owner.Flags();
  const int status = query ? static_cast<int>(query->Query_PlayerStatus()) : 0;
  Log(kReceiveTag, "WM_PLAYER_STOP, player status %d", status);
  flags.stoppedByVideo.store(true);
  int playing = 0;
  if (m_hostKind != mvlink::HostKind::Wmp && flags.playerState.load() != 2 && control)
    control->Control_IsPlaying(playing);
  const mvlink::PlayerStopActions a =
      mvlink::DecidePlayerStop(m_hostKind, flags.playerState.load(), status, playing != 0);
  if (a.alreadyStopped) Log(kReceiveTag, "WM_PLAYER_STOP，播放器已停止,不需要停止");
  if (control) {
    if (a.controlStop) control->Control_Stop();
    if (a.controlPlay) control->Control_Play();
  }
  if (a.postStopCommand) PostMessageA(window, WM_COMMAND, kCommandStopPlayer, 0);
  if (a.realPaused) m_realPausedByVideo.store(true);
  if (!flags.prefetchArmed.load()) {
    flags.prefetchAllowed.store(false);
    ArmPrefetchTimer(owner);
    Log(kReceiveTag, "set flv play timer");
    flags.prefetchArmed.store(true);
  }
  owner.EmptyResourceForVideo();
  if (!m_videoReported.exchange(true)) PostMessageA(window, kMsgDeferred, kVideoStarted, 0);
}

void MvLinkCore::ResumePlayer(ILyricController& owner) {
  CPlayerControlMessage* control = owner.PlayerControl();
  CPlayerQueryMessage* query = owner.PlayerQuery();
  if (!control) return;
  const int status = query ? static_cast<int>(query->Query_PlayerStatus()) : 0;
  const mvlink::PlayerPlayActions a =
      mvlink::DecidePlayerPlay(m_hostKind, owner.Flags().playerState.load(), status, m_realPausedByVideo.load());
  if (a.alreadyPlaying) Log(kReceiveTag, "WM_PLAYER_PLAY,播放器已经在播放，不需要再play");
  if (a.playStart) control->Control_Play_Start();
  if (a.controlStop) control->Control_Stop();
  if (a.controlPlay) control->Control_Play();
  if (a.clearRealPaused) m_realPausedByVideo.store(false);
}

void MvLinkCore::OnPlayerPlay(ILyricController& owner) {
  ResumePlayer(owner);
  owner.Flags().stoppedByVideo.store(false);
  owner.Flags().playerState.store(0);
  owner.UpdateResourceStatus();
}

void MvLinkCore::OnSongComplete(ILyricController& owner) {
  if (CPlayerControlMessage* control = owner.PlayerControl()) {
    control->Control_NextSong();
    if (m_hostKind == mvlink::HostKind::Winamp)
      control->Control_Play_Start();
    else
      control->Control_Play();
  }
  KillPrefetchTimer(owner);
}

void MvLinkCore::OnVideoCrash() {
  ILyricController* owner = Owner();
  if (!owner) return;
  Log(kReceiveTag, "OnVideoCrash");
  MvLinkFlags& flags = owner->Flags();
  flags.mvEnabled.store(false);
  flags.userChoice.store(mv::choice_pic);
  if (flags.stoppedByVideo.load()) ResumePlayer(*owner);
  flags.stoppedByVideo.store(false);
  flags.playerState.store(0);
  owner->UpdateResourceStatus();
  KillPrefetchTimer(*owner);
}

void MvLinkCore::KeepAlive() {
  if (FindFlashNotice()) return;
  HWND video = FindVideoWindow();
  if (!video) return;
  COPYDATASTRUCT copy{};
  copy.dwData = mv::WM_KEEP_ALIVE;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(video, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                           m_options.timings.keepAliveTimeoutMs, &answer) &&
      IsWindow(video)) {  // a window that went meanwhile is a ClipView closing by itself
    KillVideo();
    Log("Player Send MSG", "Video is dead,kill it");
  }
}

void MvLinkCore::OnDeferred(WPARAM what) {
  ILyricController* owner = Owner();
  if (!owner) return;
  switch (what) {
    case kStartP2P:
      owner->StartGetP2PResource();
      break;
    case kVideoStarted:
      owner->OnMvStarted(true);
      break;
    case kPicturesStarted:
      owner->OnMvStarted(false);
      break;
  }
}

void MvLinkCore::ClearSongFlags() {
  m_videoReported.store(false);
  m_picturesReported.store(false);
}
