#include "TagDataFile.h"

#include <cstring>

#include "TagText.h"

namespace tagprobe {

namespace {

std::string FieldText(const char* field) {
  size_t n = 0;
  while (n < kNameFieldSize && field[n] != '\0') ++n;
  return std::string(field, GbkPrefixLength(field, n, kNameFieldSize - 1));
}

}  // namespace

Bytes EncodeTagData(const SongNames& names) {
  TagDataRecord r{};
  if (names.Any()) {
    r.hasNames = 1;
    PutGbkField(r.title, sizeof r.title, names.title);
    PutGbkField(r.artist, sizeof r.artist, names.artist);
    PutGbkField(r.album, sizeof r.album, names.album);
  }
  Bytes out(sizeof r);
  std::memcpy(out.data(), &r, sizeof r);
  return out;
}

TagDataStatus DecodeTagData(const uint8_t* p, size_t n, SongNames& names) {
  names = SongNames{};
  TagDataRecord r;
  if (n != sizeof r) return TagDataStatus::kMalformed;
  std::memcpy(&r, p, sizeof r);
  if (r.hasNames == 0) return TagDataStatus::kNoNames;
  if (r.hasNames != 1) return TagDataStatus::kMalformed;
  names.title = FieldText(r.title);
  names.artist = FieldText(r.artist);
  names.album = FieldText(r.album);
  return names.Any() ? TagDataStatus::kNames : TagDataStatus::kNoNames;
}

}  // namespace tagprobe
