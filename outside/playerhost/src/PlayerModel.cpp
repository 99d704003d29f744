#include "PlayerModel.h"

#include <cstring>

#include "GbkChars.h"
#include "PlayerMessages.h"

namespace playerhost {
namespace {
constexpr size_t kMaxRecordedCalls = 4096;
constexpr char kModernPrefix[] = "Winamp Modern";
}  // namespace

PlayerModel::PlayerModel(TimeSource now, int defaultLengthSec)
    : clock_(std::move(now), defaultLengthSec) {}

bool PlayerModel::IsModernSkin() const {
  return skinName_.compare(0, sizeof kModernPrefix - 1, kModernPrefix) == 0;
}

std::string PlayerModel::MainWindowTitle() {
  if (clock_.Count() == 0) return "Winamp";
  return clock_.Entries()[clock_.Index()].title + " - Winamp";
}

void PlayerModel::Record(ReceivedCall::Kind kind, uintptr_t wParam, intptr_t lParam) {
  if (calls_.size() == kMaxRecordedCalls) calls_.pop_front();
  calls_.push_back(ReceivedCall{kind, wParam, lParam});
}

bool PlayerModel::Command(uint32_t id) {
  switch (id) {
    case kCmdPrevious: clock_.Previous(); break;
    case kCmdPlay: clock_.Play(); break;
    case kCmdPause: clock_.PauseToggle(); break;
    case kCmdStop: clock_.Stop(); break;
    case kCmdNext: clock_.Next(); break;
    default: return false;
  }
  Record(ReceivedCall::Command, id, 0);
  return true;
}

intptr_t PlayerModel::AnswerUser(uintptr_t wParam, intptr_t lParam) {
  Record(ReceivedCall::User, wParam, lParam);
  switch (lParam) {
    case kIpcEnqueueFile: return Enqueue(wParam);
    case kIpcClearList: clock_.Clear(); return 0;
    case kIpcIsPlaying:
      switch (clock_.State()) {
        case PlayState::Playing: return 1;
        case PlayState::Paused: return 3;
        case PlayState::Stopped: return 0;
      }
      return 0;
    case kIpcOutputTime:
      if (wParam == 0) return clock_.PositionMs();
      if (wParam == 1) return clock_.LengthSec();
      return -1;
    case kIpcJumpToTime:
      return clock_.Seek(wParam > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(wParam));
    case kIpcListLength: return static_cast<intptr_t>(clock_.Count());
    case kIpcListPosition: return clock_.Index();
    case kIpcSkinName: return CopySkinName(wParam);
    case kIpcEntryFileName: return EntryFileName(wParam);
    case kIpcRefreshListCache: return 0;  // nothing is cached here
    case kIpcIsModernMainWindow:
      return IsModernSkin() && modernWindow_ != 0 && wParam == modernWindow_ ? 1 : 0;
    default: return 0;
  }
}

intptr_t PlayerModel::Enqueue(uintptr_t recordPointer) {
  const auto* record = reinterpret_cast<const EnqueueFileRecord*>(recordPointer);
  if (!record || !record->filename || !record->filename[0]) return 0;
  PlaylistEntry entry;
  entry.path = record->filename;
  if (record->title) entry.title = record->title;
  entry.lengthSec = record->length;
  clock_.Append(std::move(entry));
  return 1;
}

intptr_t PlayerModel::EntryFileName(uintptr_t index) {
  if (index >= clock_.Count()) return 0;
  std::string& slot = nameAnswers_[nextNameAnswer_];
  nextNameAnswer_ = (nextNameAnswer_ + 1) % nameAnswers_.size();
  slot = clock_.Entries()[index].path;
  return reinterpret_cast<intptr_t>(slot.c_str());
}

intptr_t PlayerModel::CopySkinName(uintptr_t buffer) const {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out) return 0;
  // Cut to the buffer between characters, as the player does.
  const size_t n = WholeCharacterPrefix(skinName_, kSkinNameBufferSize - 1);
  skinName_.copy(out, n);
  out[n] = '\0';
  return skinName_.empty() ? 0 : static_cast<intptr_t>(buffer);
}

}  // namespace playerhost
