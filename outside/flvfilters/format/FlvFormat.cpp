#include "FlvFormat.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace flvstandin {

namespace {

uint32_t Be24(const uint8_t* p) { return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]; }
uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | Be24(p + 1); }
int Be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }

}  // namespace

bool ParseFileHeader(const uint8_t* p, size_t n, FileHeader& out) {
  if (n < 9 || p[0] != 'F' || p[1] != 'L' || p[2] != 'V' || p[3] != 1) return false;
  out.hasAudio = (p[4] & 0x04) != 0;
  out.hasVideo = (p[4] & 0x01) != 0;
  out.dataOffset = Be32(p + 5);
  return out.dataOffset >= 9;
}

bool ParseTagHeader(const uint8_t* p, size_t n, TagHeader& out) {
  if (n < kTagHeaderBytes) return false;
  out.type = p[0] & 0x1F;
  out.dataSize = Be24(p + 1);
  out.timestampMs = Be24(p + 4) | (uint32_t(p[7]) << 24);
  return true;
}

bool ParsePcmFlags(uint8_t flags, PcmFormat& out) {
  const int format = flags >> 4;
  if (format != 0 && format != 3) return false;
  static const uint32_t kRates[4] = {5512, 11025, 22050, 44100};
  out.rate = kRates[(flags >> 2) & 3];
  out.bits = (flags & 2) ? 16 : 8;
  out.channels = (flags & 1) ? 2 : 1;
  return true;
}

bool ParseScreenHeader(const uint8_t* body, size_t n, ScreenHeader& out) {
  if (n < 5 || (body[0] & 0x0F) != kCodecScreenVideo) return false;
  out.keyframe = (body[0] >> 4) == 1;
  const int w = Be16(body + 1), h = Be16(body + 3);
  out.blockWidth = ((w >> 12) + 1) * 16;
  out.width = w & 0x0FFF;
  out.blockHeight = ((h >> 12) + 1) * 16;
  out.height = h & 0x0FFF;
  return out.width > 0 && out.height > 0;
}

bool DecodeScreenFrame(const uint8_t* body, size_t n, std::vector<uint8_t>& image) {
  ScreenHeader h;
  if (!ParseScreenHeader(body, n, h)) return false;
  const size_t stride = size_t(h.width) * 4;
  image.resize(stride * h.height);
  std::vector<uint8_t> block(size_t(h.blockWidth) * h.blockHeight * 3);
  size_t at = 5;
  for (int by = 0; by < h.height; by += h.blockHeight) {
    for (int bx = 0; bx < h.width; bx += h.blockWidth) {
      if (at + 2 > n) return false;
      const size_t size = size_t(Be16(body + at));
      at += 2;
      if (size == 0) continue;
      if (at + size > n) return false;
      const int bw = std::min(h.blockWidth, h.width - bx);
      const int bh = std::min(h.blockHeight, h.height - by);
      uLongf plain = uLongf(bw) * bh * 3;
      if (uncompress(block.data(), &plain, body + at, uLong(size)) != Z_OK ||
          plain != uLongf(bw) * bh * 3)
        return false;
      at += size;
      for (int row = 0; row < bh; ++row) {
        const uint8_t* src = block.data() + size_t(row) * bw * 3;
        uint8_t* dst = image.data() + size_t(by + row) * stride + size_t(bx) * 4;
        for (int x = 0; x < bw; ++x, src += 3, dst += 4) {
          dst[0] = src[0];
          dst[1] = src[1];
          dst[2] = src[2];
          dst[3] = 0;
        }
      }
    }
  }
  return true;
}

}  // namespace flvstandin
