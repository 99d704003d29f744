#include "flv/FlvDecoder.h"

#include <windows.h>

#include "shared/Ownership.h"

namespace clipview {

namespace {

constexpr const char* kDecoderServerKey =
    "SOFTWARE\\Classes\\CLSID\\{04FE9017-F873-410E-871E-AB91661A4EF7}\\InprocServer32";
constexpr const char* kDecoderMarkKey = "SOFTWARE\\GNU\\ffdshow";
constexpr const char* kUsualPath = "C:\\Program Files\\ffdshow\\ffdshow.ax";

bool DecoderServerPath(char (&path)[MAX_PATH]) {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDecoderServerKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = sizeof path - 1;
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  path[size < sizeof path ? size : sizeof path - 1] = '\0';  // the value need not end in a NUL
  return path[0] != '\0';
}

}  // namespace

bool IsFlvDecoderInstalled() {
  char path[MAX_PATH];
  if (!DecoderServerPath(path)) return false;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDecoderMarkKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
  DWORD type = 0, value = 0, size = sizeof value;
  return RegQueryValueExA(key.Get(), "flv1", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && value != 0;
}

bool IsFlvDecoderInPlace() {
  char path[MAX_PATH];
  return DecoderServerPath(path) && lstrcmpiA(path, kUsualPath) == 0;
}

}  // namespace clipview
