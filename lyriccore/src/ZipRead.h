#pragma once
// Reads a zip archive held in memory (an answer of the lyric server) into
// entries, without touching the disk. The answer travels over plain HTTP, so
// the archive is treated as hostile: entry names are made safe, the amount
// read is bounded, and the archive counts only when all of it reads back sound.
#include <cstddef>
#include <string>
#include <vector>

#include "SearchProtocol.h"
#include "lyriccore/Export.h"
#include "shared/TextEncoding.h"

namespace zl {

enum class UnpackStatus {
  Ok,
  NotAnArchive,  // no zip directory could be read
  TooLarge,      // past the entry or byte limits
  Corrupt,       // a bad entry, a wrong password, a CRC error, a truncated archive
  WriteFailed,   // the folder or a file could not be written
};

struct ZipFileEntry {
  std::string name;   // safe relative name, '\' separated
  std::string bytes;  // decrypted and inflated
};

struct ZipContents {
  UnpackStatus status = UnpackStatus::NotAnArchive;
  std::vector<std::string> folders;  // safe names of folder entries
  std::vector<ZipFileEntry> files;   // in archive order
  std::vector<std::string> refused;  // names (in the code page) that are not taken
  std::string detail;                // for the log
};

// An entry's name in the code page: a name marked as UTF-8 (bit 11 of the
// entry's flags, as today's zip tools write it) is converted; any other is
// taken as it is (old tools write the code page).
LYRICCORE_API std::string EntryNameInCodePage(const std::string& raw, bool utf8Flag,
                                              const CodePageConverter& codePage);

// password empty: the entries are not encrypted. On any status but Ok the
// folders and files are empty.
LYRICCORE_API ZipContents ReadZipFromMemory(const char* data, size_t length, const std::string& password,
                                            const UnpackLimits& limits, const CodePageConverter& codePage);

}  // namespace zl
