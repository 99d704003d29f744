#pragma once
// Reads a zip archive held in memory (an answer of the lyric server). The
// answer travels over plain HTTP, so the archive is treated as hostile:
// entry names are made safe, what is read is bounded, and an archive with
// any bad entry yields nothing. Protected entries are decrypted by minizip.
// Platform-neutral.
#include <cstddef>
#include <string>
#include <vector>

#include "SearchProtocol.h"
#include "shared/TextEncoding.h"

namespace zl {

enum class UnpackStatus {
  Ok,
  NotAnArchive,  // no zip directory could be read
  TooLarge,      // past the entry or byte limits
  Corrupt,       // a bad entry, a wrong password, a CRC error, a truncated archive
  WriteFailed,   // the folder or a file could not be written
};

struct ZipFile {
  std::string name;  // safe relative name with '\' separators
  std::string bytes;
};

struct ZipContents {
  UnpackStatus status = UnpackStatus::NotAnArchive;
  std::vector<std::string> folders;  // safe relative names of folder entries
  std::vector<ZipFile> files;        // in archive order; empty unless Ok
  std::vector<std::string> refused;  // names (in the code page) that were left out
  std::string detail;                // for the log
};

// An entry's name in the code page: a name marked as UTF-8 (bit 11 of the
// entry's flags, as today's zip tools write it) is converted; any other is
// taken as it is (older tools write the code page).
std::string EntryNameInCodePage(const std::string& raw, bool utf8Flag, const CodePageConverter& codePage);

// password empty: the entries are not protected (a protected one is then
// Corrupt). Every entry is read and its CRC checked before Ok is given.
// Names marked as UTF-8 are converted with `codePage` before they are made
// safe.
ZipContents ReadZipFromMemory(const char* data, size_t length, const std::string& password,
                              const UnpackLimits& limits = UnpackLimits(),
                              const CodePageConverter& codePage = SystemCodePage());

}  // namespace zl
