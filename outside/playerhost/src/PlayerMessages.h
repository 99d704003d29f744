#pragma once
// The player's message interface as plug-ins see it: WM_COMMAND button ids
// and the codes of WM_USER calls (the code travels in lParam).
#include <cstddef>
#include <cstdint>

namespace playerhost {

// WM_COMMAND ids (wParam).
enum : uint32_t {
  kCmdClose = 40001,
  kCmdPrevious = 40044,
  kCmdPlay = 40045,
  kCmdPause = 40046,
  kCmdStop = 40047,
  kCmdNext = 40048,
  // The stand-in's own buttons; no plug-in relies on them.
  kCmdToggleEqualizer = 40901,
  kCmdTogglePlaylist = 40902,
  kCmdToggleSkin = 40903,
};

// WM_USER call codes (lParam).
enum : int32_t {
  kIpcEnqueueFile = 100,   // wParam: EnqueueFileRecord*
  kIpcClearList = 101,
  kIpcIsPlaying = 104,     // 1 playing, 3 paused, 0 stopped
  kIpcOutputTime = 105,    // wParam 0: position in ms; 1: length in s
  kIpcJumpToTime = 106,    // wParam: ms
  kIpcListLength = 124,
  kIpcListPosition = 125,
  kIpcSkinName = 201,      // wParam: 260-byte buffer
  kIpcEntryFileName = 211, // wParam: index; answer: const char*
  kIpcRefreshListCache = 247,
  kIpcIsModernMainWindow = 2004,  // wParam: a window
};

constexpr size_t kSkinNameBufferSize = 260;

// What a plug-in hands over to enqueue a file: {file name, title, length}.
// Read in-process through the pointer in wParam.
struct EnqueueFileRecord {
  const char* filename;
  const char* title;  // null: the player makes one from the file name
  int32_t length;     // seconds; 0 or less: the player finds it out
};
static_assert(offsetof(EnqueueFileRecord, filename) == 0, "layout");
static_assert(offsetof(EnqueueFileRecord, title) == sizeof(void*), "layout");
static_assert(offsetof(EnqueueFileRecord, length) == 2 * sizeof(void*), "layout");
static_assert(sizeof(EnqueueFileRecord) == (sizeof(void*) == 4 ? 12 : 24), "layout");

}  // namespace playerhost
