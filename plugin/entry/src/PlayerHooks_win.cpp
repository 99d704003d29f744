// The procedures that subclass the player's windows. Each passes every
// message on to the procedure it replaced; before that it turns the
// player's buttons and window changes into the player's events and hands
// the messages that move windows to the lyric windows' docking.
#include "PluginHost_win.h"
#include "controller/SongRules.h"
#include "player/WinampIpc_win.h"
#include "shared/Logger.h"

namespace wa = zl::winamp;

namespace {

LRESULT PassOn(const WindowHook& hook, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC saved = hook.saved.load();
  return saved ? CallWindowProcA(saved, window, msg, wParam, lParam) : DefWindowProcA(window, msg, wParam, lParam);
}

bool ModernSkin(PluginHost& host) { return host.Check() && host.Check()->modernSkin.load(); }

void Dock(PluginHost& host, PlayerWindowKind kind, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (CLyric* controller = host.Controller())
    controller->Windows().OnPlayerWindowMessage(kind, window, msg, wParam, lParam);
}

void Log(PluginHost& host, const char* text) { LogWrite(host.LogPath().c_str(), LOG_KEYINFO, "HookProc", "%s", text); }

void OnClassicMessage(PluginHost& host, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  CZoLyric_WINAMP* player = host.Player();
  if (!player) return;
  switch (msg) {
    case WM_SIZE:
      if (wParam == SIZE_RESTORED) {
        player->Send_OnWindowRestore();
        Log(host, "Send_OnPlayerWindowRestore");
      } else if (wParam == SIZE_MINIMIZED) {
        player->Send_OnWindowMinimize();
        Log(host, "Send_OnPlayerWindowMinimize");
      }
      break;
    case WM_CLOSE:
      player->Send_OnPlayerWindowClose();
      Log(host, "Send_OnPlayerWindowClose");
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case wa::kButtonPlay:
          Log(host, "case 40045:Send_OnPlay");
          break;
        case wa::kButtonPause:
          Log(host, wa::IsPlaying(window) == wa::PlayStatus::Paused ? "case 40046:Send_OnPlay" : "Send_OnPause");
          break;
        case wa::kButtonStop:
          player->Send_OnStop();
          if (SongCheckState* check = host.Check()) {
            zl::Lock hold(check->lock);
            ApplyStop(check->lastSong, check->previousSong);
          }
          Log(host, "Send_OnStop");
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  if ((msg == WM_COMMAND || msg == WM_WINDOWPOSCHANGED || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) &&
      !ModernSkin(host))
    Dock(host, PlayerWindowKind::Main, window, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ClassicWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    OnClassicMessage(PluginHost::Instance(), window, msg, wParam, lParam);
  } catch (...) {
  }
  return PassOn(PluginHost::s_main, window, msg, wParam, lParam);
}

LRESULT CALLBACK EqualizerWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    PluginHost& host = PluginHost::Instance();
    if (msg == WM_WINDOWPOSCHANGED && !ModernSkin(host))
      Dock(host, PlayerWindowKind::Equalizer, window, msg, wParam, lParam);
  } catch (...) {
  }
  return PassOn(PluginHost::s_equalizer, window, msg, wParam, lParam);
}

LRESULT CALLBACK PlaylistWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    PluginHost& host = PluginHost::Instance();
    if (msg == WM_WINDOWPOSCHANGED && !ModernSkin(host))
      Dock(host, PlayerWindowKind::Playlist, window, msg, wParam, lParam);
  } catch (...) {
  }
  return PassOn(PluginHost::s_playlist, window, msg, wParam, lParam);
}

LRESULT CALLBACK ModernWindowHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    PluginHost& host = PluginHost::Instance();
    if (msg == WM_WINDOWPOSCHANGED || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) {
      if (msg == WM_WINDOWPOSCHANGED) Log(host, "winamp pos change");
      if (msg == WM_LBUTTONUP) Log(host, "winamp lbuttonup");
      Dock(host, PlayerWindowKind::Modern, window, msg, wParam, lParam);
    }
  } catch (...) {
  }
  return PassOn(PluginHost::s_modern, window, msg, wParam, lParam);
}
