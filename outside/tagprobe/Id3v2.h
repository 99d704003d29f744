#pragma once
// Reading an ID3v2.2, 2.3 or 2.4 tag from the bytes at the start of a song.
// Every size in the tag is checked against the bytes at hand; a tag that
// cannot be walked to its end is reported as incomplete rather than guessed at.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ByteIo.h"

namespace tagprobe {

constexpr size_t kId3HeaderSize = 10;

struct Id3v2Header {
  uint8_t major = 0;
  uint8_t flags = 0;
  uint32_t bodySize = 0;  // bytes after the header, footer excluded
  // Header, body and footer: where the audio starts.
  uint64_t TotalSize() const { return kId3HeaderSize + bodySize + ((major == 4 && (flags & 0x10)) ? 10 : 0); }
};

enum class Id3v2Probe { kAbsent, kPresent, kBad };
// kBad: "ID3" is there but the header is not one we can trust (unknown
// version, size bytes that are not syncsafe).
Id3v2Probe ProbeId3v2(const uint8_t* p, size_t n, Id3v2Header& header);

struct Id3v2Frame {
  std::string id;      // three characters for 2.2, four otherwise
  uint16_t flags = 0;  // status byte high, format byte low (0 for 2.2)
  Bytes stored;        // body as it stood in the tag, tag-wide unsynchronisation undone
  // The body taken apart: extra header bytes removed, frame unsynchronisation
  // undone. Compressed or encrypted data stays as it is.
  bool compressed = false;
  bool encrypted = false;
  int groupId = -1;
  int encryptionMethod = -1;
  bool hasDataLength = false;
  uint32_t dataLength = 0;  // decompressed size (2.3) or data length indicator (2.4)
  Bytes data;
  bool Readable() const { return !compressed && !encrypted; }
};

struct Id3v2Tag {
  Id3v2Header header;
  bool complete = false;    // the whole tag was at hand and walked without a fault
  bool framesLost = false;  // frames exist that cannot be read at all (2.2 compression)
  std::vector<Id3v2Frame> frames;
};

// p holds the start of the song (at least the header). Returns false when
// there is no usable ID3v2 header; frames that fit are read even from a cut
// or damaged tag, and `complete` tells which it was.
bool ParseId3v2(const uint8_t* p, size_t n, Id3v2Tag& tag);

// FF 00 -> FF over the whole buffer.
Bytes RemoveUnsync(const uint8_t* p, size_t n);

bool IsFrameIdChar(uint8_t c);

}  // namespace tagprobe
