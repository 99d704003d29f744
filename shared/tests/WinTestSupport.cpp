#include "WinTestSupport.h"

#include <windows.h>

#include <filesystem>
#include <vector>

#include "TestFiles.h"
#include "shared/GbkPath.h"
#include "shared/Ownership.h"

namespace zltest {

namespace {
const char kKey[] = "SOFTWARE\\ZOLYRIC";
const char* const kSubkeys[] = {"SOFTWARE\\ZOLYRIC\\LOGMSG", "SOFTWARE\\ZOLYRIC\\BHO",
                                "SOFTWARE\\ZOLYRIC\\UPDATE"};
int g_homes = 0;

bool KeyExists(const char* name) {
  zl::UniqueRegKey key;
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, name, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool KeyIsEmpty(const char* name) {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, name, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 0, values = 0;
  RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                   nullptr, nullptr, nullptr, nullptr);
  return subkeys == 0 && values == 0;
}
}  // namespace

ScopedInstallHome::ScopedInstallHome() {
  hadKey_ = KeyExists(kKey);
  for (int i = 0; i < 3; ++i) hadSubkey_[i] = KeyExists(kSubkeys[i]);
  {
    zl::UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS) {
      char value[1024];
      DWORD bytes = sizeof value - 1, type = 0;
      if (RegQueryValueExA(key.Get(), "ZOLYRIC_HOME", nullptr, &type,
                           reinterpret_cast<BYTE*>(value), &bytes) == ERROR_SUCCESS) {
        value[bytes] = '\0';
        hadValue_ = true;
        oldValue_ = value;
      }
    }
  }
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  home_ = std::string(temp) + "zl_home_" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(g_homes++);
  std::error_code ec;
  std::filesystem::remove_all(home_, ec);
  std::filesystem::create_directories(home_ + "\\face");
  SetHomeValue(home_);
}

ScopedInstallHome::~ScopedInstallHome() {
  if (hadValue_) SetHomeValue(oldValue_);
  else RemoveHomeValue();
  for (int i = 0; i < 3; ++i) {
    if (!hadSubkey_[i] && KeyIsEmpty(kSubkeys[i])) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSubkeys[i]);
  }
  if (!hadKey_ && KeyIsEmpty(kKey)) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
  std::error_code ec;
  std::filesystem::remove_all(home_, ec);
}

void ScopedInstallHome::WriteConfigImage(const std::string& iniText) const {
  WriteWholeFile(home_ + "\\face\\zoc.img", iniText);
}

void ScopedInstallHome::SetHomeValue(const std::string& value) {
  zl::UniqueRegKey key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                  nullptr);
  RegSetValueExA(key.Get(), "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

void ScopedInstallHome::RemoveHomeValue() {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, key.Put()) == ERROR_SUCCESS)
    RegDeleteValueA(key.Get(), "ZOLYRIC_HOME");
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  return zl::PathFolder(folder) + "\\";
}

std::string ChildProgram() { return ProgramFolder() + "shared_test_child.exe"; }

bool FileAtUnicodeName(const std::string& gbkPath) {
  std::wstring wide(gbkPath.size() + 1, L'\0');
  const int n = MultiByteToWideChar(936, 0, gbkPath.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  const DWORD a = n > 0 ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace zltest
