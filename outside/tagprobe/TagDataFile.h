#pragma once
// The hand-over file between the engine and the tag tool: a 32-bit value
// (1 when the block holds names) and an 1800-byte block whose first three
// 256-byte fields are title, artist and album, NUL-terminated GBK. The engine
// writes it for "S" and reads it after "G"; both sides run on little-endian
// Windows and exchange the value in memory order.
#include <cstddef>
#include <cstdint>

#include "ByteIo.h"
#include "SongNames.h"

namespace tagprobe {

constexpr size_t kNameFieldSize = 256;
constexpr size_t kTagBlockSize = 1800;

struct TagDataRecord {
  uint32_t hasNames;
  char title[kNameFieldSize];
  char artist[kNameFieldSize];
  char album[kNameFieldSize];
  char unused[kTagBlockSize - 3 * kNameFieldSize];
};
static_assert(sizeof(TagDataRecord) == 1804, "value and block, nothing between or after");
static_assert(offsetof(TagDataRecord, title) == 4, "block follows the value");
static_assert(offsetof(TagDataRecord, artist) == 4 + 256, "artist second");
static_assert(offsetof(TagDataRecord, album) == 4 + 512, "album third");

// Names are cut to 255 bytes without splitting a character; the value is 1
// when any name is there, else 0 with an all-zero block.
Bytes EncodeTagData(const SongNames& names);

enum class TagDataStatus { kNames, kNoNames, kMalformed };
// Fields without a NUL are taken up to 255 bytes, cut as above.
TagDataStatus DecodeTagData(const uint8_t* p, size_t n, SongNames& names);

}  // namespace tagprobe
