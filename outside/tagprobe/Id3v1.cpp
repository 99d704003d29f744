#include "Id3v1.h"

#include <cstring>

#include "TagText.h"

namespace tagprobe {

namespace {

constexpr size_t kFieldSize = 30;
constexpr size_t kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63;

void PutField(uint8_t* field, const std::string& name) {
  if (name.empty()) return;
  const size_t n = GbkPrefixLength(name.data(), name.size(), kFieldSize);
  std::memset(field, 0, kFieldSize);
  std::memcpy(field, name.data(), n);
}

std::string ReadField(const uint8_t* field, const TextConverter& conv) {
  size_t n = 0;
  while (n < kFieldSize && field[n] != 0) ++n;
  // Writers that cut names to the field often leave half a double-byte character.
  if (n == kFieldSize && IsGbkLead(field[n - 1]) && !IsValidGbk(field, n) && IsValidGbk(field, n - 1)) --n;
  return LegacyTextToGbk(field, n, conv);
}

}  // namespace

bool HasId3v1(const uint8_t* tail, size_t n) {
  return n >= kId3v1Size && tail[0] == 'T' && tail[1] == 'A' && tail[2] == 'G';
}

SongNames ReadId3v1(const uint8_t* tail, const TextConverter& conv) {
  SongNames names;
  names.title = ReadField(tail + kTitleAt, conv);
  names.artist = ReadField(tail + kArtistAt, conv);
  names.album = ReadField(tail + kAlbumAt, conv);
  return names;
}

void PatchId3v1(uint8_t* tail, const SongNames& names) {
  PutField(tail + kTitleAt, names.title);
  PutField(tail + kArtistAt, names.artist);
  PutField(tail + kAlbumAt, names.album);
}

}  // namespace tagprobe
