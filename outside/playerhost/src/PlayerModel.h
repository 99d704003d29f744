#pragma once
// Everything the stand-in player knows and answers, without any window: the
// playlist and clock, the skin name, and the answers to WM_COMMAND buttons
// and WM_USER calls. The window glue feeds messages in and shows the result.
//
// Not thread-safe: the owner serialises calls (the host holds a lock).
#include <array>
#include <cstdint>
#include <deque>
#include <string>

#include "PlaybackClock.h"

namespace playerhost {

struct ReceivedCall {
  enum Kind { Command, User } kind;
  uintptr_t wParam;
  intptr_t lParam;
};

class PlayerModel {
 public:
  PlayerModel(TimeSource now, int defaultLengthSec);

  PlaybackClock& Clock() { return clock_; }

  // A WM_USER call; unknown codes answer 0. Pointers in wParam and in the
  // answers are in-process pointers (plug-ins live inside the player).
  intptr_t AnswerUser(uintptr_t wParam, intptr_t lParam);

  // A WM_COMMAND player button (40044..40048). False for any other id.
  bool Command(uint32_t id);

  // Skin: any name; "Winamp Modern..." makes it the modern skin, whose main
  // window is the one registered with SetModernWindow.
  void SetSkinName(const std::string& name) { skinName_ = name; }
  const std::string& SkinName() const { return skinName_; }
  bool IsModernSkin() const;
  void SetModernWindow(uintptr_t window) { modernWindow_ = window; }

  // "<song title> - Winamp", or "Winamp" with an empty playlist.
  std::string MainWindowTitle();

  // The most recent calls, oldest first (bounded), so a test can check
  // which messages a plug-in sent and in what order.
  const std::deque<ReceivedCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  void Record(ReceivedCall::Kind kind, uintptr_t wParam, intptr_t lParam);
  intptr_t Enqueue(uintptr_t recordPointer);
  intptr_t EntryFileName(uintptr_t index);
  intptr_t CopySkinName(uintptr_t buffer) const;

  PlaybackClock clock_;
  std::string skinName_;
  uintptr_t modernWindow_ = 0;
  std::deque<ReceivedCall> calls_;
  // File names handed out by pointer stay valid for the next answers even
  // when the playlist changes meanwhile; callers copy them right away.
  std::array<std::string, 32> nameAnswers_;
  size_t nextNameAnswer_ = 0;
};

}  // namespace playerhost
