#pragma once
// The names in a WMA file's ASF header object: title and author in the
// Content Description object, the album as "WM/AlbumTitle" in the Extended
// Content Description object.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ByteIo.h"
#include "SongNames.h"
#include "TextConverter.h"

namespace tagprobe {

constexpr size_t kAsfObjectHeaderSize = 24;  // GUID and 64-bit size
constexpr size_t kAsfHeaderObjectSize = 30;  // plus object count and two reserved bytes

// True when p starts with the ASF header object; `size` is the size it claims.
bool ProbeAsf(const uint8_t* p, size_t n, uint64_t& size);

struct AsfChild {
  size_t offset = 0;  // within the header object
  size_t size = 0;
};

struct AsfHeader {
  uint64_t size = 0;
  std::vector<AsfChild> children;
  bool complete = false;  // the children fill the header object exactly
};

// p holds the start of the file; children that fit are listed even from a
// damaged or cut header.
bool ParseAsfHeader(const uint8_t* p, size_t n, AsfHeader& header);

SongNames ReadAsfNames(const uint8_t* p, size_t n, const TextConverter& conv);

// A new header object carrying the non-empty names; every other object and
// field is kept. The File Properties object's file size follows the new size
// of a file that was `oldFileSize` long. False when the header is damaged or
// cut and cannot be rewritten without losing something.
bool RebuildAsfHeader(const uint8_t* p, size_t n, uint64_t oldFileSize, const SongNames& names,
                      const TextConverter& conv, Bytes& out);

}  // namespace tagprobe
