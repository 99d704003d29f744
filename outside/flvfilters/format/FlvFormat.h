#pragma once
// The stand-in filters' own reading of FLV files: the file header, the tag
// headers, linear PCM audio flags and Screen Video frames (codec 3).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace flvstandin {

constexpr uint8_t kTagAudio = 8;
constexpr uint8_t kTagVideo = 9;
constexpr uint8_t kTagScript = 18;
constexpr size_t kTagHeaderBytes = 11;
constexpr size_t kPreviousTagSizeBytes = 4;

struct FileHeader {
  bool hasAudio = false;
  bool hasVideo = false;
  uint32_t dataOffset = 0;  // where PreviousTagSize0 starts
};
// "FLV", version 1; false for anything else.
bool ParseFileHeader(const uint8_t* p, size_t n, FileHeader& out);
// Offset of the first tag header.
inline uint64_t FirstTagOffset(const FileHeader& h) { return uint64_t(h.dataOffset) + kPreviousTagSizeBytes; }

struct TagHeader {
  uint8_t type = 0;
  uint32_t dataSize = 0;
  uint32_t timestampMs = 0;
};
bool ParseTagHeader(const uint8_t* p, size_t n, TagHeader& out);
inline uint64_t NextTagOffset(uint64_t tag, const TagHeader& h) {
  return tag + kTagHeaderBytes + h.dataSize + kPreviousTagSizeBytes;
}

// Audio tags: only linear PCM (formats 0 and 3, little-endian samples here).
struct PcmFormat {
  uint32_t rate = 0;
  uint16_t bits = 0;
  uint16_t channels = 0;
  uint32_t BytesPerSecond() const { return rate * channels * (bits / 8); }
};
bool ParsePcmFlags(uint8_t flags, PcmFormat& out);

constexpr uint8_t kCodecScreenVideo = 3;

// Screen Video: a 4-byte header after the frame-type/codec byte, then the
// image in blocks from the bottom-left, each block zlib-compressed BGR rows
// bottom-up (size 0: the block did not change).
struct ScreenHeader {
  bool keyframe = false;
  int blockWidth = 0, blockHeight = 0;
  int width = 0, height = 0;
};
// body: the whole video tag body (first byte frame type and codec id).
bool ParseScreenHeader(const uint8_t* body, size_t n, ScreenHeader& out);

// Decodes a frame into `image`, a bottom-up 32-bit BGRX picture of the
// frame's size that keeps the previous frame's pixels for unchanged blocks.
// False on a malformed frame (the image may then be partly updated).
bool DecodeScreenFrame(const uint8_t* body, size_t n, std::vector<uint8_t>& image);

}  // namespace flvstandin
