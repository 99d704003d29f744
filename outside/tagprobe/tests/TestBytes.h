#pragma once
// Building expected tag bytes by hand in tests.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "ByteIo.h"

namespace tagprobe {

inline Bytes B(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<uint8_t>(x));
  return b;
}
inline Bytes S(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline std::string Str(const Bytes& b) { return std::string(b.begin(), b.end()); }

// A few MPEG-1 layer III frames (128 kbit/s, 44.1 kHz, 417 bytes each) with
// bytes that a careless writer would mangle (FF, FF 00, "ID3", "TAG").
inline Bytes AudioFrames(int count) {
  Bytes b;
  for (int f = 0; f < count; ++f) {
    const Bytes head = {0xFF, 0xFB, 0x90, 0x64};
    b.insert(b.end(), head.begin(), head.end());
    for (int i = 0; i < 413; ++i) b.push_back(static_cast<uint8_t>((i * 37 + f) % 256));
    const Bytes nasty = {0xFF, 0x00, 0xFF, 0xE0, 'I', 'D', '3', 'T', 'A', 'G'};
    std::copy(nasty.begin(), nasty.end(), b.end() - 20);
  }
  return b;
}

// An ID3v2 tag header with a syncsafe size.
inline Bytes Id3Header(int major, int flags, uint32_t size) {
  Bytes b = {'I', 'D', '3', static_cast<uint8_t>(major), 0, static_cast<uint8_t>(flags)};
  PutSyncsafe32(b, size);
  return b;
}

// A 2.3 frame: plain big-endian size.
inline Bytes V23Frame(const std::string& id, const Bytes& body, int flags = 0) {
  Bytes b = S(id);
  PutBe32(b, static_cast<uint32_t>(body.size()));
  b.push_back(static_cast<uint8_t>(flags >> 8));
  b.push_back(static_cast<uint8_t>(flags));
  return b + body;
}

// A 2.4 frame: syncsafe size.
inline Bytes V24Frame(const std::string& id, const Bytes& body, int flags = 0) {
  Bytes b = S(id);
  PutSyncsafe32(b, static_cast<uint32_t>(body.size()));
  b.push_back(static_cast<uint8_t>(flags >> 8));
  b.push_back(static_cast<uint8_t>(flags));
  return b + body;
}

inline Bytes Id3Tag(int major, const Bytes& frames, int flags = 0) {
  return Id3Header(major, flags, static_cast<uint32_t>(frames.size())) + frames;
}

// An ID3v1 tag: 30-byte title, artist and album fields, NUL padded.
inline Bytes Id3v1(const std::string& title, const std::string& artist, const std::string& album) {
  Bytes b(128, 0);
  b[0] = 'T', b[1] = 'A', b[2] = 'G';
  std::copy(title.begin(), title.end(), b.begin() + 3);
  std::copy(artist.begin(), artist.end(), b.begin() + 33);
  std::copy(album.begin(), album.end(), b.begin() + 63);
  b[127] = 12;  // genre
  return b;
}

}  // namespace tagprobe
