#include "Registration_win.h"

#include <windows.h>

#include "shared/Ownership.h"

namespace playerhost {
namespace {

constexpr char kUserKey[] = "Software\\Winamp";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";

bool SetText(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool Create(HKEY root, const char* path, zl::UniqueRegKey& key) {
  return RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) == ERROR_SUCCESS;
}

bool Gone(LSTATUS status) { return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND; }

}  // namespace

bool RegisterPlayerFolder(const std::string& folder, std::string& error) {
  zl::UniqueRegKey user, uninstall;
  if (!Create(HKEY_CURRENT_USER, kUserKey, user) || !SetText(user.Get(), nullptr, folder)) {
    error = "cannot write HKCU\\" + std::string(kUserKey);
    return false;
  }
  if (!Create(HKEY_LOCAL_MACHINE, kUninstallKey, uninstall) ||
      !SetText(uninstall.Get(), "DisplayName", "Winamp (player stand-in)") ||
      !SetText(uninstall.Get(), "UninstallString", "\"" + folder + "\\UninstWA.exe\"") ||
      !SetText(uninstall.Get(), "DisplayIcon", folder + "\\winamp.exe")) {
    error = "cannot write HKLM\\" + std::string(kUninstallKey);
    return false;
  }
  return true;
}

bool UnregisterPlayerFolder(std::string& error) {
  if (!Gone(RegDeleteTreeA(HKEY_CURRENT_USER, kUserKey)) || !Gone(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey))) {
    error = "cannot remove the player's registry entries";
    return false;
  }
  return true;
}

}  // namespace playerhost
