#pragma once
// What the tag tool does to a song, given its leading and trailing bytes:
// read its names, or plan the new file that carries new names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ByteIo.h"
#include "SongNames.h"
#include "TextConverter.h"

namespace tagprobe {

// Bytes to read first to learn how large the leading tag is.
constexpr size_t kProbeSize = 32;
// The most of a leading tag we read. Larger tags (pictures of tens of MB) are
// read in part for names and left alone by writing.
constexpr uint64_t kMaxHeadSize = uint64_t{64} << 20;

// How many bytes from the start the tag code needs: the whole ID3v2 tag or
// ASF header object, bounded by the file and kMaxHeadSize.
uint64_t HeadSizeWanted(const uint8_t* probe, size_t n, uint64_t fileSize);

struct SongBytes {
  const uint8_t* head = nullptr;  // from the start of the file
  size_t headSize = 0;
  const uint8_t* tail = nullptr;  // the last min(128, fileSize) bytes
  size_t tailSize = 0;
  uint64_t fileSize = 0;
};

// WMA: the ASF header. Otherwise ID3v2 first, then ID3v1 for the names the
// ID3v2 tag lacks.
SongNames ReadSongNames(const SongBytes& song, const TextConverter& conv);

// The rewritten file: head, then the old file's bytes [keepFrom, keepTo)
// unchanged, then tail.
struct RewritePlan {
  Bytes head;
  uint64_t keepFrom = 0;
  uint64_t keepTo = 0;
  Bytes tail;
  uint64_t NewSize() const { return head.size() + (keepTo - keepFrom) + tail.size(); }
};

// Non-empty names replace the file's; empty ones keep what is there. WMA
// files (by content) get the ASF names rewritten; MP3 files (by content, or by
// the extension for a file with no tag yet) get an ID3v2.3 tag in front of the
// audio, the frames of an old tag carried over, and an ID3v1 tag at the end
// updated as well. False, with the reason, when the file is not one we can
// write to without losing anything.
bool PlanTagRewrite(const SongBytes& song, bool mp3Extension, const SongNames& names, const TextConverter& conv,
                    RewritePlan& plan, std::string& why);

// True when the file name ends in ".mp3" in any case.
bool HasMp3Extension(const std::string& path);

}  // namespace tagprobe
