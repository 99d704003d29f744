#pragma once
// Counters of what the controller did, for diagnostics, tests and
// benchmarks. Every field is atomic; any thread may read them.
#include <atomic>
#include <cstdint>

struct ControllerStats {
  std::atomic<uint32_t> songChanges{0};     // OnChangeSong that got as far as a change-song thread
  std::atomic<uint32_t> changeSongCancelled{0};  // change-song threads that stopped before releasing
  std::atomic<uint32_t> releases{0};        // ReleaseResource runs
  std::atomic<uint32_t> fetches{0};         // fetch threads started
  std::atomic<uint32_t> prefetches{0};      // PreGetRes calls for a next entry
  std::atomic<uint32_t> viewUpdates{0};     // results put into the view
  std::atomic<uint32_t> wrongSongDrops{0};  // results dropped: they were for another song
  std::atomic<uint32_t> terminations{0};    // threads that had to be terminated
  std::atomic<uint32_t> lastChangeTick{0};  // GetTickCount of the last OnChangeSong
  std::atomic<uint32_t> lastReadyTick{0};   // GetTickCount of the last LyricReady result
};
