#include "FlashMovie.h"

namespace flashstandin {

MovieLook ReadMovieLook(const std::string& b) {
  MovieLook look;
  auto byte = [&b](size_t i) { return static_cast<uint8_t>(b[i]); };
  if (b.size() < 9 || b.compare(0, 3, "FWS") != 0) return look;
  // The frame rectangle: 5 bits of field width, then four fields.
  const unsigned bits = byte(8) >> 3;
  size_t at = 8 + (5 + 4 * bits + 7) / 8 + 4;  // + frame rate and count
  if (at > b.size()) return look;
  look.valid = true;
  while (at + 2 <= b.size()) {
    const unsigned head = byte(at) | byte(at + 1) << 8;
    at += 2;
    const unsigned code = head >> 6;
    size_t length = head & 0x3F;
    if (length == 0x3F) {
      if (at + 4 > b.size()) break;
      length = byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | static_cast<size_t>(byte(at + 3)) << 24;
      at += 4;
    }
    if (code == 0 || length > b.size() - at) break;
    if (code == 9 && length >= 3) look.background = byte(at) << 16 | byte(at + 1) << 8 | byte(at + 2);
    if (code == 77) look.label = b.substr(at, length);
    at += length;
  }
  while (!look.label.empty() && look.label.back() == '\0') look.label.pop_back();
  return look;
}

}  // namespace flashstandin
