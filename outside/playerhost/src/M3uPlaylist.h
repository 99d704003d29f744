#pragma once
// M3U playlists: plain file lists with optional "#EXTINF:<seconds>,<title>"
// lines in front of an entry.
#include <string>
#include <vector>

#include "PlaylistEntry.h"

namespace playerhost {

// Parses M3U text. Relative entries are resolved against `baseFolder` (which
// ends in a separator or is empty). Entries without a usable duration
// (missing, zero or negative) get `defaultLengthSec`; entries without an
// #EXTINF title get TitleFromPath.
std::vector<PlaylistEntry> ParseM3u(const std::string& text, const std::string& baseFolder,
                                    int defaultLengthSec);

// The folder part of a path, up to and including its last '\' or '/'
// ("" when there is none).
std::string FolderOf(const std::string& path);

// True for names ending in ".m3u" or ".m3u8", ignoring case.
bool IsPlaylistFileName(const std::string& path);

// Reads and parses an M3U file. False with a reason in `error` when the file
// cannot be read or is implausibly large.
bool LoadM3uFile(const std::string& path, int defaultLengthSec,
                 std::vector<PlaylistEntry>& entries, std::string& error);

}  // namespace playerhost
