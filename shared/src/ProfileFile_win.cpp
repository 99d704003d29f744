#include "shared/ProfileFile.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "shared/GbkText.h"
#include "shared/ProfileText.h"

using namespace zl;

namespace {
// A value this long is not a setting; stop growing rather than loop on a
// damaged file.
constexpr size_t kMaxValueBytes = 1u << 20;
constexpr size_t kGrowStep = 512;
}  // namespace

ProfileFile::ProfileFile(const char* path) {
  const size_t n = path ? std::strlen(path) : 0;
  path_ = new char[n + 1];
  if (n) std::memcpy(path_, path, n);
  path_[n] = '\0';
}

ProfileFile::~ProfileFile() { delete[] path_; }

std::string ProfileFile::ReadText(const char* section, const char* key, const char* def) const {
  const char* fallback = def ? def : "";
  // A null section or key would make the system list names instead.
  if (!section || !key) return fallback;
  std::vector<char> buf(kGrowStep);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section, key, fallback, buf.data(),
                                             static_cast<DWORD>(buf.size()), path_);
    // A value that filled the buffer may have been cut: read again, larger.
    if (n + 1 < buf.size() || buf.size() >= kMaxValueBytes)
      return std::string(buf.data(), n < buf.size() ? n : buf.size() - 1);
    buf.resize(buf.size() + kGrowStep);
  }
}

size_t ProfileFile::ReadText(const char* section, const char* key, char* buffer, size_t size,
                             const char* def) const {
  const std::string text = ReadText(section, key, def);
  return CopyGbkBounded(buffer, size, text.data(), text.size());
}

int ProfileFile::ReadInt(const char* section, const char* key, int def, int base) const {
  return ParseProfileInt(ReadText(section, key, ""), def, base);
}

bool ProfileFile::ReadBool(const char* section, const char* key, bool def) const {
  return ParseProfileBool(ReadText(section, key, ""), def);
}

size_t ProfileFile::ReadBytes(const char* section, const char* key, void* buffer, size_t count,
                              size_t offset) const {
  return ReadHexRecord(ReadText(section, key, ""), buffer, count, offset);
}

bool ProfileFile::ReadWordPair(const char* section, const char* key, int32_t& first,
                               int32_t& second, int32_t fallbackFirst,
                               int32_t fallbackSecond) const {
  unsigned char record[kWordPairBytes];
  if (ReadBytes(section, key, record, sizeof record) < sizeof record) {
    first = fallbackFirst;
    second = fallbackSecond;
    return false;
  }
  DecodeWordPair(record, first, second);
  return true;
}

bool ProfileFile::WriteText(const char* section, const char* key, const char* value) {
  if (!section || !key) return false;  // a null key would delete the section
  return WritePrivateProfileStringA(section, key, value ? value : "", path_) != FALSE;
}

bool ProfileFile::WriteInt(const char* section, const char* key, int value, int base) {
  return WriteText(section, key, FormatProfileInt(value, base).c_str());
}

bool ProfileFile::WriteBool(const char* section, const char* key, bool value) {
  return WriteText(section, key, value ? "1" : "0");
}

bool ProfileFile::WriteBytes(const char* section, const char* key, const void* data,
                             size_t count) {
  if (!data && count) return false;
  return WriteText(section, key, EncodeHexRecord(data, count).c_str());
}

bool ProfileFile::WriteWordPair(const char* section, const char* key, int32_t first,
                                int32_t second) {
  unsigned char record[kWordPairBytes];
  EncodeWordPair(first, second, record);
  return WriteBytes(section, key, record, sizeof record);
}

bool ProfileFile::DeleteSection(const char* section) {
  if (!section) return false;
  return WritePrivateProfileStringA(section, nullptr, nullptr, path_) != FALSE;
}
