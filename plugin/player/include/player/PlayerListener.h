#pragma once
// What the player's events are delivered to: the lyric controller and the MV
// window link implement this. Events come from the song-check thread (play,
// song change) and from the player's UI thread (stop, minimise, restore,
// close, skin change); a listener accepts calls from both.
//
// The controller adds its window entry points (repaint, mouse, timers,
// commands, web mode, skin record, lyric rectangle) in its own class.
#include "player/PlayerInterfaces.h"

class CPlayerListener {
 public:
  virtual ~CPlayerListener() = default;
  virtual void OnPlay() = 0;          // the song that was stopped plays again
  virtual void OnPause() = 0;
  virtual void OnStop() = 0;
  virtual void OnChangeSong() = 0;
  virtual void OnWindowMinimize() = 0;
  virtual void OnWindowMaxmize() = 0;
  virtual void OnWindowRestore() = 0;
  virtual void OnPlayerWindowClose() = 0;
  virtual void OnSkinChanged(const char* skinName) = 0;
  // Joins `source`, leaving the source it was attached to before.
  virtual void AttachEventSource(CPlayerEventSource* source) = 0;
  // Null clears them (the player is going away).
  virtual void SetPlayerControl(CPlayerControlMessage* control) = 0;
  virtual void SetPlayerQuery(CPlayerQueryMessage* query) = 0;
};
