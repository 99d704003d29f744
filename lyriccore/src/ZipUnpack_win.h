#pragma once
// Unpacks a zip archive held in memory (an answer of the lyric server) into
// a folder: nothing is written unless the whole archive reads back sound
// (ReadZipFromMemory), and entry names marked as UTF-8 arrive in the code page.
#include <cstddef>
#include <string>
#include <vector>

#include "SearchProtocol.h"
#include "ZipRead.h"
#include "lyriccore/Export.h"

namespace zl {

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
