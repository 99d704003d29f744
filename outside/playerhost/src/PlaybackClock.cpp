#include "PlaybackClock.h"

#include <chrono>

namespace playerhost {

TimeSource SteadyTimeSource() {
  return [] {
    return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now().time_since_epoch())
                                    .count());
  };
}

PlaybackClock::PlaybackClock(TimeSource now, int defaultLengthSec)
    : now_(now ? std::move(now) : SteadyTimeSource()),
      defaultLengthSec_(defaultLengthSec > 0 ? defaultLengthSec : 1) {}

void PlaybackClock::Clear() {
  entries_.clear();
  index_ = 0;
  state_ = PlayState::Stopped;
  anchorPos_ = 0;
  ++generation_;
}

void PlaybackClock::Append(PlaylistEntry entry) {
  if (entry.lengthSec <= 0) entry.lengthSec = defaultLengthSec_;
  if (entry.title.empty()) entry.title = TitleFromPath(entry.path);
  entries_.push_back(std::move(entry));
  ++generation_;
}

int64_t PlaybackClock::ElapsedMs() const {
  return state_ == PlayState::Playing ? now_() - anchorTick_ : 0;
}

void PlaybackClock::StartAt(int index, int64_t startTick) {
  index_ = index;
  state_ = PlayState::Playing;
  anchorPos_ = 0;
  anchorTick_ = startTick;
  ++generation_;
}

void PlaybackClock::Advance() {
  // Several short songs may have ended since the last look; each next one
  // started when the one before it ended.
  while (state_ == PlayState::Playing && !entries_.empty()) {
    const int64_t length = int64_t{entries_[index_].lengthSec} * 1000;
    const int64_t pos = anchorPos_ + ElapsedMs();
    if (pos < length) return;
    const int64_t endTick = anchorTick_ + (length - anchorPos_);
    if (index_ + 1 < static_cast<int>(entries_.size())) {
      StartAt(index_ + 1, endTick);
    } else if (repeat_) {
      StartAt(0, endTick);
    } else {
      state_ = PlayState::Stopped;
      anchorPos_ = 0;
      ++generation_;
    }
  }
}

void PlaybackClock::Play() {
  Advance();
  if (entries_.empty()) return;
  if (state_ == PlayState::Paused) {
    state_ = PlayState::Playing;
    anchorTick_ = now_();
    return;
  }
  StartAt(index_, now_());
}

void PlaybackClock::PauseToggle() {
  Advance();
  if (state_ == PlayState::Playing) {
    anchorPos_ += ElapsedMs();
    state_ = PlayState::Paused;
  } else if (state_ == PlayState::Paused) {
    state_ = PlayState::Playing;
    anchorTick_ = now_();
  }
}

void PlaybackClock::Stop() {
  Advance();
  state_ = PlayState::Stopped;
  anchorPos_ = 0;
}

void PlaybackClock::Next() {
  Advance();
  if (entries_.empty()) return;
  const int next = (index_ + 1) % static_cast<int>(entries_.size());
  if (state_ == PlayState::Stopped) {
    index_ = next;
    ++generation_;
  } else {
    StartAt(next, now_());
  }
}

void PlaybackClock::Previous() {
  Advance();
  if (entries_.empty()) return;
  const int count = static_cast<int>(entries_.size());
  const int prev = (index_ + count - 1) % count;
  if (state_ == PlayState::Stopped) {
    index_ = prev;
    ++generation_;
  } else {
    StartAt(prev, now_());
  }
}

int PlaybackClock::Seek(int ms) {
  Advance();
  if (state_ == PlayState::Stopped || entries_.empty()) return -1;
  const int64_t length = int64_t{entries_[index_].lengthSec} * 1000;
  const int64_t target = ms < 0 ? 0 : ms;
  const int64_t tick = now_();
  if (target >= length) {
    // As if the song had just ended; a paused song ends as well.
    state_ = PlayState::Playing;
    anchorPos_ = length;
    anchorTick_ = tick;
    Advance();
    return 1;
  }
  anchorPos_ = target;
  anchorTick_ = tick;
  return 0;
}

PlayState PlaybackClock::State() {
  Advance();
  return state_;
}

int PlaybackClock::Index() {
  Advance();
  return index_;
}

int PlaybackClock::PositionMs() {
  Advance();
  if (state_ == PlayState::Stopped) return -1;
  return static_cast<int>(anchorPos_ + ElapsedMs());
}

int PlaybackClock::LengthSec() {
  Advance();
  return entries_.empty() ? -1 : entries_[index_].lengthSec;
}

uint64_t PlaybackClock::Generation() {
  Advance();
  return generation_;
}

}  // namespace playerhost
