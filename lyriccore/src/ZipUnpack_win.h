#pragma once
// Unpacks a zip archive held in memory (an answer of the lyric server) into
// a folder: the archive is read and checked whole first (ZipArchive.h), so
// nothing is written unless all of it reads back sound.
#include <cstddef>
#include <string>
#include <vector>

#include "ZipArchive.h"

namespace zl {

struct UnpackOutcome {
  UnpackStatus status = UnpackStatus::NotAnArchive;
  std::vector<std::string> written;  // safe relative names, in archive order
  std::vector<std::string> refused;  // raw names that were not unpacked
  bool hasLyric = false;             // an entry named "*.lrc*" was unpacked
  std::string lyricArtist, lyricTitle;
  std::string detail;  // for the log
};

// folder ends in '\'. password empty: the entries are not protected.
UnpackOutcome UnpackZipFromMemory(const char* data, size_t length, const std::string& folder,
                                  const std::string& password, const UnpackLimits& limits = UnpackLimits());

}  // namespace zl
