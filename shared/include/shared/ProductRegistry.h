#pragma once
// The product's registry key, HKEY_LOCAL_MACHINE\SOFTWARE\ZOLYRIC, and the
// keys below it: the one place that opens them. Windows-only
// (ProductRegistry_win.cpp).
//
// `subkey` names a key below the product key ("LOGMSG"); null or "" is the
// product key itself. Readers return false when the key or value is missing
// or of another type; writers create the key when needed and return false
// when the system refuses.
#include <cstdint>
#include <string>

namespace zl {

constexpr const char* kProductKeyPath = "SOFTWARE\\ZOLYRIC";
// The event-log service's send counters.
constexpr const char* kLogMsgSubkey = "LOGMSG";

// A REG_SZ value (at most 32 KB), without its terminating NUL.
bool ReadProductText(const char* subkey, const char* name, std::string& value);
bool WriteProductText(const char* subkey, const char* name, const std::string& value);

// A REG_DWORD value.
bool ReadProductNumber(const char* subkey, const char* name, uint32_t& value);
bool WriteProductNumber(const char* subkey, const char* name, uint32_t value);

// Creates (or opens) the key; true when it exists afterwards.
bool CreateProductKey(const char* subkey);

}  // namespace zl
