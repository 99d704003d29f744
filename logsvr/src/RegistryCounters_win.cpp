#include "RegistryCounters_win.h"

#include <windows.h>

#include "shared/Ownership.h"

namespace logsvr {

bool RegistryCounters::Read(const std::string& valueName, uint32_t& value) {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCountersKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
  DWORD type = 0, data = 0, size = sizeof data;
  if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  value = data;
  return true;
}

bool RegistryCounters::Write(const std::string& valueName, uint32_t value) {
  zl::UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCountersKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD data = value;
  return RegSetValueExA(key.Get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

}  // namespace logsvr
