#pragma once
// Song files made by the tests: an ID3v2.3 tag with title, artist and album
// frames, MPEG audio frames with a recognisable payload, an ID3v1 tag, and a
// bare ASF (WMA) header.
#include <cstddef>
#include <cstdint>
#include <string>

namespace songbytes {

// One text frame of an ID3v2.3 tag (encoding byte 0: bytes as given).
inline std::string Id3v23Frame(const char* id, const std::string& text) {
  const std::string body = std::string(1, '\0') + text;
  const uint32_t n = static_cast<uint32_t>(body.size());
  std::string f(id, 4);
  for (int s = 24; s >= 0; s -= 8) f += static_cast<char>((n >> s) & 0xFF);
  f += std::string(2, '\0');
  return f + body;
}

// "ID3" 2.3 header with the given flags; bodySize in the syncsafe field.
inline std::string Id3v2Header(uint32_t bodySize, unsigned char major = 3, unsigned char flags = 0) {
  std::string h = "ID3";
  h += static_cast<char>(major);
  h += '\0';
  h += static_cast<char>(flags);
  for (int s = 21; s >= 0; s -= 7) h += static_cast<char>((bodySize >> s) & 0x7F);
  return h;
}

inline std::string Id3v2Tag(const std::string& title, const std::string& artist, const std::string& album,
                            size_t padding = 64) {
  const std::string frames = Id3v23Frame("TIT2", title) + Id3v23Frame("TPE1", artist) +
                             Id3v23Frame("TALB", album) + std::string(padding, '\0');
  return Id3v2Header(static_cast<uint32_t>(frames.size())) + frames;
}

// `count` MPEG-1 layer III frames of 128 kbit/s, 44.1 kHz (417 bytes each);
// the payload bytes run through `salt`, so the audio differs per song.
inline std::string AudioFrames(size_t count, unsigned salt = 1) {
  std::string out;
  uint32_t x = salt * 2654435761u + 1;
  for (size_t i = 0; i < count; ++i) {
    out += "\xFF\xFB\x90\x64";
    for (int b = 0; b < 413; ++b) {
      x = x * 1103515245u + 12345u;
      out += static_cast<char>(x >> 16);
    }
  }
  return out;
}

inline std::string Id3v1Tag(const std::string& title) {
  std::string t = "TAG" + title;
  t.resize(128, '\0');
  return t;
}

// The 30-byte ASF header object (its size field says 30) and the 24 bytes
// of the data object's head.
inline std::string AsfHeaders() {
  std::string h(16, 'H');
  h += '\x1E';
  h += std::string(7, '\0');
  h += std::string(6, 'h');
  std::string d(16, 'D');
  d += std::string(8, '\0');
  return h + d;
}

}  // namespace songbytes
