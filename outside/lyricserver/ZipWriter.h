#pragma once
// A small zip writer for the stand-in's content answers: stored entries,
// optionally protected with the traditional PKWARE encryption.
#include <cstdint>
#include <string>
#include <vector>

namespace lyricserver {

uint32_t Crc32(const std::string& bytes, uint32_t crc = 0);

struct ZipEntry {
  std::string name;  // with '/' between folders
  std::string data;
  bool utf8Name = false;  // the name is UTF-8, marked as today's zip tools do
};

// salt makes the encryption header's random bytes reproducible.
std::string BuildZip(const std::vector<ZipEntry>& entries, const std::string& password = "", uint32_t salt = 1);

}  // namespace lyricserver
