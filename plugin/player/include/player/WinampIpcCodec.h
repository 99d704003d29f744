#pragma once
// Winamp's window-message interface: WM_COMMAND button ids, the codes of
// WM_USER calls (the code travels in lParam), and how their arguments are
// built and their answers read.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zl {
namespace winamp {

// WM_COMMAND ids (wParam).
enum : unsigned {
  kButtonClose = 40001,
  kButtonPrevious = 40044,
  kButtonPlay = 40045,
  kButtonPause = 40046,  // also resumes a paused song
  kButtonStop = 40047,
  kButtonNext = 40048,
};

// WM_USER call codes (lParam).
enum : int {
  kIpcEnqueueFile = 100,        // wParam: EnqueueFileInfo*
  kIpcDeletePlaylist = 101,
  kIpcIsPlaying = 104,
  kIpcGetOutputTime = 105,      // wParam kOutputPosition or kOutputLength
  kIpcJumpToTime = 106,         // wParam: ms
  kIpcGetListLength = 124,
  kIpcGetListPosition = 125,
  kIpcGetSkinName = 201,        // wParam: char[kSkinNameSize]
  kIpcGetPlaylistFile = 211,    // wParam: index; answer: const char* or 0
  kIpcRefreshPlaylistCache = 247,
  kIpcIsModernMainWindow = 2004,  // wParam: a window; non-zero for the modern skin's main window
};
enum : uintptr_t { kOutputPosition = 0, kOutputLength = 1 };

constexpr size_t kSkinNameSize = 260;
constexpr size_t kEnqueuePathSize = 260;

// What IPC 104 says.
enum class PlayStatus { Stopped, Playing, Paused, Unknown };
PlayStatus DecodePlayStatus(intptr_t answer);

// The {file name, title, length} triple of IPC 100. In-process: the player
// reads it through the pointer during the call.
struct EnqueueFileInfo {
  const char* filename;
  const char* title;  // null: the player reads the file's details itself
  int32_t length;     // 0: likewise
};
static_assert(offsetof(EnqueueFileInfo, filename) == 0, "layout");
static_assert(offsetof(EnqueueFileInfo, title) == sizeof(void*), "layout");
static_assert(offsetof(EnqueueFileInfo, length) == 2 * sizeof(void*), "layout");
static_assert(sizeof(EnqueueFileInfo) == (sizeof(void*) == 4 ? 12 : 24), "layout");

// Copies `path` into the enqueue buffer. False (buffer emptied) when the path
// is empty or does not fit: a cut path would name another file.
bool EncodeEnqueuePath(const std::string& path, char (&buffer)[kEnqueuePathSize]);
EnqueueFileInfo MakeEnqueueInfo(const char* buffer);

// A song length in seconds (IPC 105, wParam 1) as ms; unknown (negative)
// gives 0, and an absurd length is held at the largest int.
int32_t DurationMsFromSeconds(intptr_t seconds);

// The output time answer (IPC 105, wParam 0) as an int; -1 (not playing)
// stays -1.
int PositionFromAnswer(intptr_t answer);

// The index after `position` in a list of `length` entries, wrapping to the
// first; -1 for an empty list.
int NextEntryIndex(intptr_t position, intptr_t length);

// Copies a file name answer (IPC 211; null for no entry) into a fixed field,
// cut without splitting a double-byte character. The name is read no further
// than the field can hold.
void CopyEntryName(const char* name, char* field, size_t fieldSize);

// The skin name after IPC 201: the buffer's text, or empty when the answer was 0.
std::string DecodeSkinName(intptr_t answer, const char (&buffer)[kSkinNameSize]);

}  // namespace winamp
}  // namespace zl
