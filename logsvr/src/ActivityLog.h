#pragma once
// Size rule of the service's activity log: past kActivityLogLimit bytes only
// the last kActivityLogKeep bytes are kept.
#include <cstdint>

namespace logsvr {

constexpr uint64_t kActivityLogLimit = 307200;
constexpr uint64_t kActivityLogKeep = 286720;

// Offset from which the file is kept, or 0 when it stays whole.
inline uint64_t ActivityLogKeepFrom(uint64_t size) {
  return size > kActivityLogLimit ? size - kActivityLogKeep : 0;
}

}  // namespace logsvr
