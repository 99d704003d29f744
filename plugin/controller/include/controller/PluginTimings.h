#pragma once
// Every wait and interval of the plug-in in one record, so that tests run
// the same code with short intervals. The defaults are the product's.
#include <cstdint>

struct PluginTimings {
  uint32_t songCheckMs = 1000;        // one round of the song check and of the pre-fetch wait
  uint32_t changeSongPauseMs = 500;   // settling pause before a song's fetch
  // How long a thread asked to stop (its connection closed, its event set)
  // is given before it is terminated.
  uint32_t threadStopGraceMs = 5000;
  uint32_t usageEventWaitMs = 5000;   // the longest wait for a usage event's thread
  uint32_t drainMs = 5000;            // detached threads at quit, per module
  uint32_t selectLyricTickMs = 1000;  // one step of the select-lyric countdown
  uint32_t wheelConfirmMs = 1000;     // from the last wheel notch to its confirmation
  uint32_t uploadCloseMs = 2000;      // the upload dialog shows its success this long
};
