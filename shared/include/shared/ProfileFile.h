#pragma once
// Typed access to one INI file through the Windows profile functions.
// Windows-only (ProfileFile_win.cpp); the text rules it uses are in
// ProfileText.h.
//
// Integers are written in decimal unless a base of 2, 8 or 16 is given,
// booleans as "1"/"0", byte records as two upper-case hex digits per byte.
#include <cstddef>
#include <cstdint>
#include <string>

class ProfileFile {
 public:
  explicit ProfileFile(const char* path);
  explicit ProfileFile(const std::string& path) : ProfileFile(path.c_str()) {}
  ~ProfileFile();
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  const char* Path() const { return path_; }

  // The value of any length (the read buffer grows in 512-byte steps), or
  // the default ("" for null) when missing. A null section or key returns
  // the default without touching the file.
  std::string ReadText(const char* section, const char* key, const char* def = "") const;
  // Copies the value into buffer (cut to size - 1 bytes, never inside a
  // double-byte character, NUL-terminated); returns the bytes copied.
  size_t ReadText(const char* section, const char* key, char* buffer, size_t size,
                  const char* def = "") const;

  // First 64 characters converted with strtoul (32-bit, as on Windows) in
  // base 2, 8 or 16, any other base meaning 10; empty text gives def.
  // The result is returned as int (so "-5" reads as -5).
  int ReadInt(const char* section, const char* key, int def, int base = 10) const;
  // Empty gives def; "true"/"yes" (any case) or a non-zero decimal number is true.
  bool ReadBool(const char* section, const char* key, bool def) const;
  // Hex byte record: the value must be hex digits only (a trailing odd digit
  // is ignored) holding more than offset bytes, else 0. Copies
  // min(count, bytes - offset) bytes from byte `offset` on and returns how
  // many; with a null buffer returns bytes - offset.
  size_t ReadBytes(const char* section, const char* key, void* buffer, size_t count,
                   size_t offset = 0) const;
  // A two-word record (8 bytes, two little-endian 32-bit words, e.g. a
  // point or size). When fewer than 8 bytes are stored the fallback pair is
  // returned and the result is false.
  bool ReadWordPair(const char* section, const char* key, int32_t& first, int32_t& second,
                    int32_t fallbackFirst, int32_t fallbackSecond) const;

  // Each write returns false when the system call fails.
  bool WriteText(const char* section, const char* key, const char* value);  // null writes ""
  bool WriteInt(const char* section, const char* key, int value, int base = 10);
  bool WriteBool(const char* section, const char* key, bool value);
  bool WriteBytes(const char* section, const char* key, const void* data, size_t count);
  bool WriteWordPair(const char* section, const char* key, int32_t first, int32_t second);
  bool DeleteSection(const char* section);

 private:
  char* path_;  // heap copy owned by the object
};
