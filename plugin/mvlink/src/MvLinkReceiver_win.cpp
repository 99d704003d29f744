// The plug-in's message receiver: ClipView's requests to the player, the
// heartbeat, the crash notice of KillVideo and the MV pre-fetch timer.
#include "MvLinkCore_win.h"

namespace {

constexpr char kReceiveTag[] = "Recieve PLAYER MSG";
constexpr char kClassName[] = "ZoLyricMvLinkReceiver";

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

void MvLinkCore::RunReceiver(HANDLE ready) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = ThisModule();
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // fails harmlessly when another link registered it
  // A hidden top-level window: ClipView finds it by its title.
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, MiniTitle().c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ThisModule(), this);
  m_receiver.store(window);
  SetEvent(ready);
  if (!window) return;
  SetTimer(window, kHeartbeatTimer, m_options.timings.heartbeatMs, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  m_receiver.store(nullptr);
  UnregisterClassA(kClassName, ThisModule());
}

LRESULT CALLBACK MvLinkCore::ReceiverProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MvLinkCore*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, msg, wParam, lParam);
  return self->OnMessage(window, msg, wParam, lParam);
}

LRESULT MvLinkCore::OnMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COPYDATA:
      if (lParam) OnCopyData(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return 0;
    case mv::kVideoCrashMessage:
      OnVideoCrash(window);
      return 0;
    case WM_TIMER:
      if (wParam == kHeartbeatTimer) {
        OnHeartbeat();
      } else if (wParam == kPrefetchTimer) {
        KillTimer(window, kPrefetchTimer);
        ILyricController* owner = Owner();
        // A song change since the timer was armed makes it stale.
        if (owner && owner->Flags().prefetchArmed.load()) {
          owner->Flags().prefetchAllowed.store(true);
          Log(kReceiveTag, "flv play timer,预取开始");
        }
      }
      return 0;
    case kMsgKillPrefetchTimer:
      KillTimer(window, kPrefetchTimer);
      return 0;
    case kMsgDeferred:
      OnDeferred(wParam);
      return 0;
    case WM_COMMAND:
      // The mini window's stop button, pressed for a RealPlayer host.
      if (LOWORD(wParam) == kCommandStopPlayer) {
        if (ILyricController* owner = Owner()) owner->OnCommand(window, kCommandStopPlayer);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kHeartbeatTimer);
      KillTimer(window, kPrefetchTimer);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
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
      KillTimer(window, kPrefetchTimer);
      break;
    case mv::WM_SONG_COMPLETE:
      OnSongComplete(window, *owner);
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
    SetTimer(window, kPrefetchTimer, m_options.timings.prefetchTimerMs, nullptr);
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

void MvLinkCore::OnSongComplete(HWND window, ILyricController& owner) {
  if (CPlayerControlMessage* control = owner.PlayerControl()) {
    control->Control_NextSong();
    if (m_hostKind == mvlink::HostKind::Winamp)
      control->Control_Play_Start();
    else
      control->Control_Play();
  }
  KillTimer(window, kPrefetchTimer);
}

void MvLinkCore::OnVideoCrash(HWND window) {
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
  KillTimer(window, kPrefetchTimer);
}

void MvLinkCore::OnHeartbeat() {
  if (FindFlashNotice()) return;
  HWND video = FindVideoWindow();
  if (!video) return;
  COPYDATASTRUCT copy{};
  copy.dwData = mv::WM_KEEP_ALIVE;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(video, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                           m_options.timings.keepAliveTimeoutMs, &answer)) {
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
  if (HWND receiver = Receiver()) PostMessageA(receiver, kMsgKillPrefetchTimer, 0, 0);
}
