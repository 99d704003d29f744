#include "player/WinampIpcCodec.h"

#include <climits>
#include <cstring>

#include "shared/GbkText.h"

namespace zl {
namespace winamp {

PlayStatus DecodePlayStatus(intptr_t answer) {
  switch (answer) {
    case 0: return PlayStatus::Stopped;
    case 1: return PlayStatus::Playing;
    case 3: return PlayStatus::Paused;
    default: return PlayStatus::Unknown;
  }
}

bool EncodeEnqueuePath(const std::string& path, char (&buffer)[kEnqueuePathSize]) {
  std::memset(buffer, 0, sizeof buffer);
  if (path.empty() || path.size() >= sizeof buffer || std::memchr(path.data(), '\0', path.size())) {
    return false;
  }
  std::memcpy(buffer, path.data(), path.size());
  return true;
}

EnqueueFileInfo MakeEnqueueInfo(const char* buffer) { return EnqueueFileInfo{buffer, nullptr, 0}; }

int32_t DurationMsFromSeconds(intptr_t seconds) {
  if (seconds <= 0) return 0;
  if (seconds >= INT32_MAX / 1000) return INT32_MAX;
  return static_cast<int32_t>(seconds * 1000);
}

int PositionFromAnswer(intptr_t answer) {
  if (answer < INT_MIN) return INT_MIN;
  if (answer > INT_MAX) return INT_MAX;
  return static_cast<int>(answer);
}

int NextEntryIndex(intptr_t position, intptr_t length) {
  if (length <= 0) return -1;
  // The 64-bit answer of a confused player must not wrap to a negative index.
  if (length > INT_MAX) length = INT_MAX;
  if (position < 0 || position >= length) position = length - 1;  // next is the first
  return static_cast<int>((position + 1) % length);
}

void CopyEntryName(const char* name, char* field, size_t fieldSize) {
  if (fieldSize == 0) return;
  if (!name) {
    field[0] = '\0';
    return;
  }
  // One byte past what fits is enough to tell where the cut must go.
  zl::CopyGbkBounded(field, fieldSize, name, strnlen(name, fieldSize));
}

std::string DecodeSkinName(intptr_t answer, const char (&buffer)[kSkinNameSize]) {
  if (answer == 0) return std::string();
  return std::string(buffer, strnlen(buffer, sizeof buffer - 1));
}

}  // namespace winamp
}  // namespace zl
