#pragma once
// The stand-in's simulated playback: a playlist, a current entry and a play
// position that advances with a time source. Nothing is decoded; a song ends
// when its position reaches its length, and the next entry starts at once.
//
// Not thread-safe: the owner serialises calls.
#include <cstdint>
#include <functional>
#include <vector>

#include "PlaylistEntry.h"

namespace playerhost {

// Monotonic milliseconds.
using TimeSource = std::function<int64_t()>;
TimeSource SteadyTimeSource();

enum class PlayState { Stopped, Playing, Paused };

class PlaybackClock {
 public:
  // defaultLengthSec (> 0) replaces missing or non-positive entry lengths.
  PlaybackClock(TimeSource now, int defaultLengthSec);

  // Playlist. Clearing stops playback and selects the (empty) first place.
  void Clear();
  void Append(PlaylistEntry entry);
  size_t Count() const { return entries_.size(); }
  const std::vector<PlaylistEntry>& Entries() const { return entries_; }
  int DefaultLengthSec() const { return defaultLengthSec_; }

  // At the end of the last entry playback stops there, or wraps to the
  // first entry when repeat is on.
  void SetRepeat(bool on) { repeat_ = on; }

  // The buttons. Play starts the selected entry from its start (a paused
  // song resumes instead); Pause toggles between playing and paused and does
  // nothing while stopped; Next and Previous wrap around the list and keep
  // playing if something played.
  void Play();
  void PauseToggle();
  void Stop();
  void Next();
  void Previous();

  // Jumps to ms in the current song. 0 done, -1 nothing playing or paused,
  // 1 the time lies at or past the end (the next entry starts, as at a song end).
  int Seek(int ms);

  // Current state; the time source is read, so a finished song has moved on.
  PlayState State();
  int Index();        // selected entry, 0 when the list is empty
  int PositionMs();   // -1 while stopped
  int LengthSec();    // of the selected entry, -1 when the list is empty
  // Bumped whenever the selected entry or the list changes.
  uint64_t Generation();

 private:
  void Advance();  // applies song ends that happened since the last look
  void StartAt(int index, int64_t startTick);
  int64_t ElapsedMs() const;

  TimeSource now_;
  int defaultLengthSec_;
  bool repeat_ = false;
  std::vector<PlaylistEntry> entries_;
  int index_ = 0;
  PlayState state_ = PlayState::Stopped;
  int64_t anchorPos_ = 0;   // position at anchorTick_
  int64_t anchorTick_ = 0;  // time of the last start, seek or resume
  uint64_t generation_ = 0;
};

}  // namespace playerhost
