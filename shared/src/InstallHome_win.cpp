// The registry side of the install home, and the helpers that read files
// below it or in the system folder.
#include "shared/InstallHome.h"

#include <windows.h>

#include <cstdio>

#include "shared/ConfigRules.h"
#include "shared/GbkText.h"
#include "shared/Ownership.h"
#include "shared/ProductRegistry.h"

using namespace zl;

namespace {
bool CopyWhole(const std::string& value, char* buffer, size_t size) {
  // A path or id cut short would name something else: no fit, no result.
  if (value.empty() || value.size() + 1 > size) return false;
  CopyGbkBounded(buffer, size, value.data(), value.size());
  return true;
}

bool ClearBuffer(char* buffer, size_t size) {
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  return true;
}
}  // namespace

bool ReadInstallHome(std::string& home) {
  return ReadProductText(nullptr, "ZOLYRIC_HOME", home) && !home.empty();
}

bool ReadInstallHome(char* buffer, size_t size) {
  if (!ClearBuffer(buffer, size)) return false;
  std::string home;
  return ReadInstallHome(home) && CopyWhole(home, buffer, size);
}

bool GetConfigImagePath(std::string& path) {
  path.clear();
  std::string home;
  if (!ReadInstallHome(home)) return false;
  path = ConfigImagePathFromHome(home);
  return true;
}

bool GetConfigImagePath(char* buffer, size_t size) {
  if (!ClearBuffer(buffer, size)) return false;
  std::string path;
  return GetConfigImagePath(path) && CopyWhole(path, buffer, size);
}

bool EnsureProductKeys() {
  for (const char* name : {kLogMsgSubkey, "BHO", "UPDATE"}) CreateProductKey(name);
  return true;
}

bool IsRecentPublish() {
  EnsureProductKeys();
  std::string home;
  if (!ReadInstallHome(home)) return false;
  UniqueHandle file(CreateFileA(PublishFilePathFromHome(home).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  FILETIME written;
  SYSTEMTIME writtenUtc, today;
  if (!GetFileTime(file.Get(), nullptr, nullptr, &written) ||
      !FileTimeToSystemTime(&written, &writtenUtc))
    return false;
  GetLocalTime(&today);
  const int age = PublishAgeDays({writtenUtc.wYear, writtenUtc.wMonth, writtenUtc.wDay},
                                 {today.wYear, today.wMonth, today.wDay});
  return IsRecentPublishAge(age);
}

bool ReadUserFileLine(int line, char* buffer, size_t size) {
  if (!ClearBuffer(buffer, size)) return false;
  char name[260];
  if (!ReadConfigUserFile(name, sizeof name)) return false;
  char system[MAX_PATH];
  const UINT n = GetSystemDirectoryA(system, sizeof system);
  if (n == 0 || n >= sizeof system) return false;
  const std::string path = std::string(system) + "\\" + name;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char head[kUserFileHeadBytes];
  const size_t got = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  std::string value;
  return ParseUserFileLine(std::string(head, got), line, value) && CopyWhole(value, buffer, size);
}

std::string HostPlayerName() {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return std::string();
  return HostPlayerNameFromPath(std::string(path, n));
}
