#include "FlvWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace flvstandin {

namespace {

void Put8(std::string& s, uint32_t v) { s.push_back(char(v & 0xFF)); }
void Put16(std::string& s, uint32_t v) { Put8(s, v >> 8); Put8(s, v); }
void Put24(std::string& s, uint32_t v) { Put8(s, v >> 16); Put16(s, v); }
void Put32(std::string& s, uint32_t v) { Put16(s, v >> 16); Put16(s, v); }
void PutDouble(std::string& s, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  for (int i = 7; i >= 0; --i) Put8(s, uint32_t(bits >> (i * 8)));
}
void PutAmfKey(std::string& s, const char* key) {
  Put16(s, uint32_t(std::strlen(key)));
  s += key;
}

}  // namespace

Picture QuadrantPicture(int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  p.rgb.resize(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool right = x >= width / 2, bottom = y >= height / 2;
      p.rgb[size_t(y) * width + x] = !bottom ? (right ? 0x00FF00u : 0xFF0000u) : (right ? 0xFFFFFFu : 0x0000FFu);
    }
  return p;
}

FlvWriter::FlvWriter(bool audio, bool video) {
  bytes_ = "FLV";
  Put8(bytes_, 1);
  Put8(bytes_, (audio ? 4 : 0) | (video ? 1 : 0));
  Put32(bytes_, 9);
  Put32(bytes_, 0);
}

void FlvWriter::Tag(uint8_t type, uint32_t ts, const std::string& body) {
  Put8(bytes_, type);
  Put24(bytes_, uint32_t(body.size()));
  Put24(bytes_, ts & 0xFFFFFF);
  Put8(bytes_, ts >> 24);
  Put24(bytes_, 0);
  bytes_ += body;
  Put32(bytes_, uint32_t(11 + body.size()));
}

void FlvWriter::MetaData(double duration, int width, int height) {
  std::string b;
  Put8(b, 2);
  PutAmfKey(b, "onMetaData");
  Put8(b, 8);
  Put32(b, width > 0 ? 3 : 1);
  PutAmfKey(b, "duration");
  Put8(b, 0);
  PutDouble(b, duration);
  if (width > 0) {
    PutAmfKey(b, "width");
    Put8(b, 0);
    PutDouble(b, width);
    PutAmfKey(b, "height");
    Put8(b, 0);
    PutDouble(b, height);
  }
  Put24(b, 9);  // end of the object
  Tag(18, 0, b);
}

void FlvWriter::ScreenFrame(uint32_t ts, const Picture& pic, int level) {
  const int bw = 32, bh = 32;
  std::string b;
  Put8(b, 0x13);  // keyframe, Screen Video
  Put16(b, uint32_t(((bw / 16 - 1) << 12) | pic.width));
  Put16(b, uint32_t(((bh / 16 - 1) << 12) | pic.height));
  std::vector<uint8_t> plain;
  for (int by = 0; by < pic.height; by += bh) {      // block rows from the bottom
    for (int bx = 0; bx < pic.width; bx += bw) {
      const int w = std::min(bw, pic.width - bx), h = std::min(bh, pic.height - by);
      plain.clear();
      for (int row = 0; row < h; ++row) {              // pixel rows from the bottom
        const int y = pic.height - 1 - (by + row);
        for (int x = bx; x < bx + w; ++x) {
          const uint32_t c = pic.At(x, y);
          plain.push_back(uint8_t(c));
          plain.push_back(uint8_t(c >> 8));
          plain.push_back(uint8_t(c >> 16));
        }
      }
      uLongf packed = compressBound(uLong(plain.size()));
      std::vector<uint8_t> out(packed);
      compress2(out.data(), &packed, plain.data(), uLong(plain.size()), level);
      Put16(b, uint32_t(packed));
      b.append(reinterpret_cast<const char*>(out.data()), packed);
    }
  }
  Tag(9, ts, b);
}

void FlvWriter::PcmAudio(uint32_t ts, const std::vector<int16_t>& samples) {
  std::string b;
  Put8(b, 0x3A);  // linear PCM little-endian, 22 kHz, 16-bit, mono
  for (int16_t s : samples) {
    Put8(b, uint16_t(s));
    Put8(b, uint16_t(s) >> 8);
  }
  Tag(8, ts, b);
}

std::string MakeTestMovie(const TestMovie& m) {
  FlvWriter w(m.audio, true);
  const double duration = m.metaDuration >= 0 ? m.metaDuration : double(m.frames) / m.fps;
  if (m.metadata) w.MetaData(duration, m.width, m.height);
  const Picture pic = QuadrantPicture(m.width, m.height);
  const uint32_t frameMs = uint32_t(1000 / m.fps);
  const size_t samplesPerFrame = size_t(22050 / m.fps);
  for (int i = 0; i < m.frames; ++i) {
    uint32_t ts = uint32_t(i) * frameMs;
    if (i == m.frames - 1 && m.lastFrameMs >= 0) ts = uint32_t(m.lastFrameMs);
    w.ScreenFrame(ts, pic, m.zlibLevel);
    if (m.audio && !(i == m.frames - 1 && m.lastFrameMs >= 0)) {
      std::vector<int16_t> tone(samplesPerFrame);
      for (size_t k = 0; k < tone.size(); ++k)
        tone[k] = int16_t(3000 * std::sin(2 * 3.14159265 * 440 * double(i * samplesPerFrame + k) / 22050));
      w.PcmAudio(ts, tone);
    }
  }
  return w.Bytes();
}

}  // namespace flvstandin
