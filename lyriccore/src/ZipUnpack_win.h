#pragma once
// Unpacks a zip archive held in memory (an answer of the lyric server) into
// a folder. The answer travels over plain HTTP, so the archive is treated
// as hostile: entry names are made safe, the amount unpacked is bounded,
// and nothing is written unless the whole archive reads back sound.
#include <cstddef>
#include <string>
#include <vector>

#include "SearchProtocol.h"
#include "lyriccore/Export.h"

namespace zl {

enum class UnpackStatus {
  Ok,
  NotAnArchive,  // no zip directory could be read
  TooLarge,      // past the entry or byte limits
  Corrupt,       // a bad entry, a wrong password, a CRC error, a truncated archive
  WriteFailed,   // the folder or a file could not be written
};

struct UnpackOutcome {
  UnpackStatus status = UnpackStatus::NotAnArchive;
  std::vector<std::string> written;  // safe relative names, in archive order
  std::vector<std::string> refused;  // raw names that were not unpacked
  bool hasLyric = false;             // an entry named "*.lrc*" was unpacked
  std::string lyricArtist, lyricTitle;
  std::string detail;                // for the log
};

// folder ends in '\'. password empty: the entries are not encrypted.
LYRICCORE_API UnpackOutcome UnpackZipFromMemory(const char* data, size_t length, const std::string& folder,
                                                const std::string& password,
                                                const UnpackLimits& limits = UnpackLimits());

}  // namespace zl
