#pragma once
// Two extra exports of gen_zolyric.dll for tests and benchmarks, which run
// the real plug-in inside the player stand-in: shorter waits before the
// player starts the plug-in, and a look at what the plug-in holds.
// The player never calls them.
#include <cstdint>

#include "controller/PluginTimings.h"

struct ZoLyricTestOptions {
  uint32_t size;  // sizeof(ZoLyricTestOptions)
  PluginTimings timings;
};

struct ZoLyricSnapshot {
  uint32_t size;          // sizeof(ZoLyricSnapshot), set by the caller
  int32_t running;        // 1 between a working StartUp and ShutDown
  int32_t status;         // LyricViewStatus
  uint32_t sentenceCount;
  char firstSentence[260];
  char tagPath[512];
  char message[256];
  int32_t messageCode;
  uint32_t stripCount;
  int32_t hooked;         // 1 while the player's main window is hooked
  int32_t modernHooked;   // 1 while a modern-skin window is hooked
  // ControllerStats
  uint32_t songChanges, changeSongCancelled, releases, fetches, prefetches, viewUpdates, wrongSongDrops,
      terminations, lastChangeTick, lastReadyTick;
};

// Applies to the next StartUp (a null pointer restores the product's values).
using ZoLyricConfigureFn = void(__cdecl*)(const ZoLyricTestOptions*);
// Fills the snapshot; 0 when the size does not match.
using ZoLyricSnapshotFn = int(__cdecl*)(ZoLyricSnapshot*);
constexpr const char* kZoLyricConfigureExport = "ZoLyricTestConfigure";
constexpr const char* kZoLyricSnapshotExport = "ZoLyricTestSnapshot";
