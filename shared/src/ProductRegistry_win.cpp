#include <windows.h>

#include <vector>

#include "shared/Ownership.h"
#include "shared/ProductRegistry.h"

namespace zl {

namespace {

constexpr DWORD kMaxTextBytes = 32768;

std::string KeyPath(const char* subkey) {
  std::string path = kProductKeyPath;
  if (subkey && subkey[0]) path += std::string("\\") + subkey;
  return path;
}

bool OpenForRead(const char* subkey, UniqueRegKey& key) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, KeyPath(subkey).c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool OpenForWrite(const char* subkey, UniqueRegKey& key) {
  return RegCreateKeyExA(HKEY_LOCAL_MACHINE, KeyPath(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_READ | KEY_WRITE, nullptr, key.Put(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool ReadProductText(const char* subkey, const char* name, std::string& value) {
  value.clear();
  UniqueRegKey key;
  if (!OpenForRead(subkey, key)) return false;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ ||
      bytes > kMaxTextBytes)
    return false;
  std::vector<char> data(bytes + 1, '\0');
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  data[bytes < data.size() ? bytes : data.size() - 1] = '\0';
  value = data.data();  // the stored value may or may not carry its NUL
  return true;
}

bool WriteProductText(const char* subkey, const char* name, const std::string& value) {
  UniqueRegKey key;
  return OpenForWrite(subkey, key) &&
         RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool ReadProductNumber(const char* subkey, const char* name, uint32_t& value) {
  UniqueRegKey key;
  if (!OpenForRead(subkey, key)) return false;
  DWORD type = 0, data = 0, size = sizeof data;
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  value = data;
  return true;
}

bool WriteProductNumber(const char* subkey, const char* name, uint32_t value) {
  UniqueRegKey key;
  const DWORD data = value;
  return OpenForWrite(subkey, key) &&
         RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
             ERROR_SUCCESS;
}

bool CreateProductKey(const char* subkey) {
  UniqueRegKey key;
  return OpenForWrite(subkey, key);
}

}  // namespace zl
