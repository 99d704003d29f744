// The song-check thread: once a round it asks the player for the playing
// file and its skin, turns what changed into the player's events, and gives
// the pre-fetch its chance to start.
#include <vector>

#include "PluginHost_win.h"
#include "controller/SongRules.h"
#include "player/WinampIpc_win.h"
#include "shared/Logger.h"

namespace {

struct ModernSearch {
  HWND player;
  HWND found;
};

BOOL CALLBACK FindModernWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ModernSearch*>(param);
  if (IsWindowVisible(window) && zl::winamp::IsModernMainWindow(search->player, window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void CheckSkin(SongCheckState& check, CZoLyric_WINAMP& player, DWORD uiThread, std::string& skinName) {
  std::string name;
  player.Query_SkinName(name);
  if (name != skinName) {
    skinName = name;
    player.Send_OnSkinChanged(name.c_str());
  }
  const bool modern = IsModernSkinName(name);
  check.modernSkin.store(modern);
  if (modern) {
    ModernSearch search{player.PlayerWindow(), nullptr};
    EnumThreadWindows(uiThread, FindModernWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && search.found != PluginHost::s_modern.window.load()) {
      PluginHost::Unhook(PluginHost::s_modern, ModernWindowHook);
      PluginHost::Hook(PluginHost::s_modern, search.found, ModernWindowHook);
    }
  } else if (PluginHost::s_modern.window.load()) {
    PluginHost::Unhook(PluginHost::s_modern, ModernWindowHook);
  }
}

}  // namespace

void RunSongCheck(std::shared_ptr<SongCheckState> check, std::shared_ptr<CZoLyric_WINAMP> player, CLyric* controller,
                  DWORD uiThread, PluginTimings timings, std::string logPath) {
  std::string skinName;
  for (;;) {
    SongInfo song;
    player->Query_SongInfo(song);
    song.path[sizeof song.path - 1] = '\0';
    SongCheckEvent event;
    {
      zl::Lock hold(check->lock);
      event = DecideSongCheck(song.path, check->lastSong, check->previousSong);
    }
    if (event != SongCheckEvent::None)
      LogWrite(logPath.c_str(), LOG_KEYINFO, "CheckThread", "OnChangeSong:current song:%s", song.path);
    if (event == SongCheckEvent::ChangeSong) player->Send_OnChangeSong();
    if (event == SongCheckEvent::Play) player->Send_OnPlay();

    CheckSkin(*check, *player, uiThread, skinName);
    controller->PollPreFetch();
    if (WaitForSingleObject(check->stop.Get(), timings.songCheckMs) == WAIT_OBJECT_0) return;
  }
}
