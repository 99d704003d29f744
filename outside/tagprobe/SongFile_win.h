#pragma once
// The tag tool's file work: reading the parts of a song the tag code needs,
// and replacing a file through a new file beside it, so that a failure at
// any point leaves the original as it was.
#include <windows.h>

#include <string>

#include "ByteIo.h"
#include "SongTags.h"
#include "shared/Ownership.h"

namespace tagprobe {

struct SongContent {
  Bytes head, tail;
  uint64_t fileSize = 0;
  SongBytes View() const;
};

// Opens an existing file for reading; `shareWrite` lets others keep writing to it.
zl::UniqueHandle OpenForRead(const std::string& path, bool shareWrite, std::string& why);
bool LoadSong(HANDLE file, SongContent& song, std::string& why);
bool ReadWholeFile(const std::string& path, size_t maxSize, Bytes& data, std::string& why);

// Writes `data` as the file at `path` (new or replaced).
bool WriteFileReplacing(const std::string& path, const Bytes& data, std::string& why);

// Builds the planned file from the open original beside it and puts it in the
// original's place; `original` is closed on the way.
bool RewriteSong(const std::string& path, zl::UniqueHandle original, const RewritePlan& plan, std::string& why);

}  // namespace tagprobe
