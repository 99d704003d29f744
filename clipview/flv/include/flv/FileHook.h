#pragma once
// The file-IO hook library iohook.dll, which lets the splitter read a video
// that is still downloading as if it had its final size. Called on the
// dialog thread (SetConnectFilter on the graph's connect thread).
#include <cstdint>

namespace clipview {

// HookFileIO(0), SetHookReadFile(1), SetFileSize(totalSize).
void FileHookOn(uint32_t totalSize);
// SetHookReadFile(0), UnhookFileIO(): normal file access again.
void FileHookOff();
// SetConnectFilter: the splitter is probing the file.
void FileHookConnecting(bool connecting);

}  // namespace clipview
