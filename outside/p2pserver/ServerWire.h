#pragma once
// The P2P server stand-in's own reading and writing of the records it
// exchanges with its requesters, byte by byte (little-endian).
#include <cstdint>
#include <string>

namespace p2pserver {

struct Pair {
  uint32_t first = 0, second = 0;
  bool operator<(const Pair& o) const { return first != o.first ? first < o.first : second < o.second; }
  bool operator==(const Pair& o) const { return first == o.first && second == o.second; }
};

// Code 1, 76 bytes: the pair, a zero word and the reply window's name (NUL
// inside its 64 bytes). False for anything else.
bool ParseRequest(const void* data, size_t size, Pair& pair, std::string& replyWindow);
// Code 2, 8 bytes.
bool ParseCancel(const void* data, size_t size, Pair& pair);

struct Status {
  Pair pair;
  uint32_t event = 0, usable = 0, download = 0, rate = 0, total = 0;
  std::string path;
};
std::string EncodeStatus(const Status& s);                                    // code 3, 296 bytes
std::string EncodeLookup(const Pair& pair, const std::string& path, uint32_t percent);  // code 4, 272 bytes

// Progress of a file of `total` bytes of which the first `written` are in the store.
uint32_t UsablePercent(uint64_t written, uint64_t total);    // whole 16 KB blocks from the start
uint32_t DownloadPercent(uint64_t written, uint64_t total);

}  // namespace p2pserver
