// Stand-in for the FLV decoder installer that the MV window downloads as
// its codec resource and runs with "/verysilent". It carries the stand-in
// decoder (ffdshow.ax) inside itself, puts it where FFDShow installs itself,
// registers it, and writes the decoder's registry mark.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "shared/Ownership.h"

namespace {

constexpr const char* kFolder = "C:\\Program Files\\ffdshow";
constexpr const char* kTarget = "C:\\Program Files\\ffdshow\\ffdshow.ax";

bool WriteDecoder() {
  HRSRC res = FindResourceA(nullptr, "FFDSHOW_AX", MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  const DWORD size = res ? SizeofResource(nullptr, res) : 0;
  if (!bytes || !size) return false;
  CreateDirectoryA(kFolder, nullptr);
  // Installed already (and perhaps loaded by a player): nothing to replace.
  zl::UniqueHandle present(CreateFileA(kTarget, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  if (present && GetFileSize(present.Get(), nullptr) == size) {
    std::string existing(size, '\0');
    DWORD got = 0;
    if (ReadFile(present.Get(), &existing[0], size, &got, nullptr) && got == size &&
        std::memcmp(existing.data(), bytes, size) == 0)
      return true;
  }
  present.Reset();
  zl::UniqueHandle out(CreateFileA(kTarget, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return out && WriteFile(out.Get(), bytes, size, &written, nullptr) && written == size;
}

bool RegisterDecoder() {
  zl::ComInit com(COINIT_APARTMENTTHREADED);
  zl::UniqueModule module(LoadLibraryA(kTarget));
  if (!module) return false;
  auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module.Get(), "DllRegisterServer")));
  return reg && SUCCEEDED(reg());
}

bool MarkDecoder() {
  zl::UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\GNU\\ffdshow", 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD on = 1;
  return RegSetValueExA(key.Get(), "flv1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on) == ERROR_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "/verysilent") != 0) {
    std::fprintf(stderr, "usage: %s /verysilent   (installs the FLV decoder stand-in)\n", argv[0]);
    return 2;
  }
  if (!WriteDecoder()) return 3;
  if (!RegisterDecoder()) return 4;
  return MarkDecoder() ? 0 : 5;
}
