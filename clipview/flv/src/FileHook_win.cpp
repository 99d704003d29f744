#include "flv/FileHook.h"

// iohook.dll's exports, as the MV window imports them.
extern "C" {
int __cdecl HookFileIO(int mode);
int __cdecl UnhookFileIO();
int __cdecl SetHookReadFile(int on);
int __cdecl SetFileSize(unsigned long size);
int __cdecl SetConnectFilter(int on);
}

namespace clipview {

void FileHookOn(uint32_t totalSize) {
  HookFileIO(0);
  SetHookReadFile(1);
  SetFileSize(totalSize);
}

void FileHookOff() {
  SetHookReadFile(0);
  UnhookFileIO();
}

void FileHookConnecting(bool connecting) { SetConnectFilter(connecting ? 1 : 0); }

}  // namespace clipview
