#include "p2pwire/HeadScramble.h"

#include <cstdint>
#include <cstring>

namespace p2pwire {

namespace {

constexpr const char* kKeyA = "ZoLyric ClipView media head";
constexpr const char* kKeyB = "ZuDiverUdoziz store";

struct Tables {
  uint8_t forward[256];
  uint8_t inverse[256];
  Tables() {
    // A permutation of the byte values mixed by both keys in turn.
    for (int i = 0; i < 256; ++i) forward[i] = uint8_t(i);
    const size_t la = std::strlen(kKeyA), lb = std::strlen(kKeyB);
    unsigned j = 0;
    for (int round = 0; round < 2; ++round)
      for (unsigned i = 0; i < 256; ++i) {
        const unsigned char k = round == 0 ? uint8_t(kKeyA[i % la]) : uint8_t(kKeyB[i % lb]);
        j = (j + forward[i] + k) & 0xFF;
        const uint8_t t = forward[i];
        forward[i] = forward[j];
        forward[j] = t;
      }
    for (int i = 0; i < 256; ++i) inverse[forward[i]] = uint8_t(i);
  }
};

const Tables& Table() {
  static const Tables t;
  return t;
}

}  // namespace

void UnscrambleHead(unsigned char* data, size_t n) {
  const uint8_t* inv = Table().inverse;
  for (size_t i = 0; i < n; ++i) data[i] = inv[data[i]];
}

void ScrambleHead(unsigned char* data, size_t n) {
  const uint8_t* fwd = Table().forward;
  for (size_t i = 0; i < n; ++i) data[i] = fwd[data[i]];
}

}  // namespace p2pwire
