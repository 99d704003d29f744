#pragma once
// The plug-in's only way to talk to Winamp: its commands, queries and event
// source over the player's window messages. One instance, created at
// plug-in start with the player's main window and deleted at quit.
//
// Thread affinity: any thread may call. Every player call is a SendMessage
// served by the player's UI thread (Control_Close is posted), except the
// position, which a worker thread asks within the position limit.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "player/ListenerList.h"
#include "player/PlayerInterfaces.h"

class CZoLyric_WINAMP : public CPlayerControlMessage,
                        public CPlayerQueryMessage,
                        public CPlayerEventSource {
 public:
  static constexpr unsigned kPositionLimitMs = 2000;

  // `player` is kept only when it is a window now. Log lines go to logPath
  // (the plug-in's log file; empty: none).
  CZoLyric_WINAMP(HWND player, std::string logPath, unsigned positionLimitMs = kPositionLimitMs);
  ~CZoLyric_WINAMP() override;
  CZoLyric_WINAMP(const CZoLyric_WINAMP&) = delete;
  CZoLyric_WINAMP& operator=(const CZoLyric_WINAMP&) = delete;

  // Control interface.
  PlayerResult Control_CanPlay(int& canPlay) override;
  PlayerResult Control_Play() override;
  PlayerResult Control_Play_Start() override;
  PlayerResult Control_Pause() override;
  PlayerResult Control_IsPlaying(int& playing) override;
  PlayerResult Control_Stop() override;
  PlayerResult Control_Close() override;
  PlayerResult Control_NextSong() override;
  PlayerResult Control_PreviousSong() override;
  PlayerResult Control_SetSongTime(int ms) override;
  PlayerResult Control_SetWindowMinimize() override;
  PlayerResult Control_Reserved() override;
  PlayerResult Control_SetWindowRestore() override;
  PlayerResult Control_AddToPlayList(const std::vector<std::string>& paths) override;

  // Query interface.
  PlayerResult Query_SongInfo(SongInfo& info) override;
  PlayerResult Query_NextSongInfo(SongInfo& info) override;
  PlayerResult Query_SongListInfo(std::vector<std::string>& list) override;
  PlayerResult Query_PlayPosition(int& positionMs) override;
  PlayerResult Query_Reserved1() override;
  PlayerResult Query_Reserved2() override;
  PlayerResult Query_Reserved3() override;
  PlayerResult Query_PlayerStatus() override;

  // Event source.
  bool AddListener(CPlayerListener* listener) override;
  bool RemoveListener(CPlayerListener* listener) override;
  void RemoveAllListeners() override;
  void Send_OnPlay() override;
  void Send_OnChangeSong() override;
  void Send_OnStop() override;
  void Send_OnWindowMinimize() override;
  void Send_OnWindowRestore() override;
  void Send_OnPlayerWindowClose() override;
  void Send_OnSkinChanged(const char* skinName) override;

  // Further operations.
  int GetPlaylistLength();
  // Empties the playlist, enqueues the files in order, and resumes play
  // when the list is not empty. A path that does not fit the player's
  // 260-byte buffer is left out (and logged).
  PlayerResult SetPlayList(const std::vector<std::string>& paths);
  // The player's current skin name; empty when it gives none.
  PlayerResult Query_SkinName(std::string& skinName);

  HWND PlayerWindow() const { return m_hPlayer; }

 private:
  void Log(const char* text) const;

  HWND m_hPlayer;
  const std::string m_strLogPath;
  const unsigned m_uPositionLimitMs;
  std::atomic<int> m_iLastPosition{0};
  CListenerList m_listeners;
};
