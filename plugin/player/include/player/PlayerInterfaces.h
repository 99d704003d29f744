#pragma once
// The three faces of a player towards the plug-in: commands, queries and the
// events it broadcasts to listeners. The controller holds the first two;
// nothing else in the plug-in talks to the player.
//
// Results are HRESULT values (a 32-bit long on Windows): 0 done,
// kPlayerFail (E_FAIL) and kPlayerNotImpl (E_NOTIMPL). Any thread may call;
// a call may block until the player's UI thread has answered.
#include <string>
#include <vector>

#include "player/SongInfo.h"

using PlayerResult = long;
constexpr PlayerResult kPlayerOk = 0;
constexpr PlayerResult kPlayerFail = static_cast<PlayerResult>(static_cast<int>(0x80004005u));
constexpr PlayerResult kPlayerNotImpl = static_cast<PlayerResult>(static_cast<int>(0x80004001u));

class CPlayerListener;

// Virtual operations in a fixed order; new ones go at the end.
class CPlayerControlMessage {
 public:
  virtual ~CPlayerControlMessage() = default;
  virtual PlayerResult Control_CanPlay(int& canPlay) = 0;
  virtual PlayerResult Control_Play() = 0;        // resumes a paused song
  virtual PlayerResult Control_Play_Start() = 0;  // the play button
  virtual PlayerResult Control_Pause() = 0;
  virtual PlayerResult Control_IsPlaying(int& playing) = 0;
  virtual PlayerResult Control_Stop() = 0;
  virtual PlayerResult Control_Close() = 0;       // asks the player to close; does not wait
  virtual PlayerResult Control_NextSong() = 0;
  virtual PlayerResult Control_PreviousSong() = 0;
  virtual PlayerResult Control_SetSongTime(int ms) = 0;
  virtual PlayerResult Control_SetWindowMinimize() = 0;
  virtual PlayerResult Control_Reserved() = 0;    // kept for the order; does nothing
  virtual PlayerResult Control_SetWindowRestore() = 0;
  // Replaces the playlist with these files (in order).
  virtual PlayerResult Control_AddToPlayList(const std::vector<std::string>& paths) = 0;
};

class CPlayerQueryMessage {
 public:
  virtual ~CPlayerQueryMessage() = default;
  // The playing song (path and duration). kPlayerFail with a zeroed record
  // when nothing plays (also while paused).
  virtual PlayerResult Query_SongInfo(SongInfo& info) = 0;
  // The playlist entry after the current one, the first after the last;
  // empty path for an empty playlist.
  virtual PlayerResult Query_NextSongInfo(SongInfo& info) = 0;
  // Appends the file of every playlist entry.
  virtual PlayerResult Query_SongListInfo(std::vector<std::string>& list) = 0;
  // The play position in ms, asked with a time limit; 0 when the player
  // does not answer in time.
  virtual PlayerResult Query_PlayPosition(int& positionMs) = 0;
  virtual PlayerResult Query_Reserved1() = 0;  // kept for the order: kPlayerNotImpl
  virtual PlayerResult Query_Reserved2() = 0;
  virtual PlayerResult Query_Reserved3() = 0;
  virtual PlayerResult Query_PlayerStatus() = 0;
};

// The listener list. A broadcast calls every listener in list order.
class CPlayerEventSource {
 public:
  virtual ~CPlayerEventSource() = default;
  virtual bool AddListener(CPlayerListener* listener) = 0;     // false: null or listed already
  virtual bool RemoveListener(CPlayerListener* listener) = 0;  // false: not listed
  virtual void RemoveAllListeners() = 0;
  virtual void Send_OnPlay() = 0;
  virtual void Send_OnChangeSong() = 0;
  virtual void Send_OnStop() = 0;
  virtual void Send_OnWindowMinimize() = 0;
  virtual void Send_OnWindowRestore() = 0;
  virtual void Send_OnPlayerWindowClose() = 0;
  virtual void Send_OnSkinChanged(const char* skinName) = 0;
};
