#include "ResourceRules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shared/GbkText.h"

namespace zl {

namespace {
bool Has(const char* field) { return field[0] != '\0'; }
}  // namespace

Pre_Set_State ResourceStateOf(const Content& c) {
  if (!Has(c.artist_pic_path) || !Has(c.artist_swf_pic) || c.artist_swf_signature.first == 0)
    return PRE_SET_NONE;
  if (Has(c.lrc_path) && Has(c.song_flv_pic_path) && c.song_flv_signature.first != 0)
    return PRE_SET_FULL;
  return PRE_SET_PART;
}

int ResourceCountOf(const Content& c) {
  return int{Has(c.lrc_path)} + int{Has(c.artist_pic_path)} + int{Has(c.artist_swf_pic)} +
         int{Has(c.song_flv_pic_path)} + int{c.artist_swf_signature.first != 0} +
         int{c.song_flv_signature.first != 0};
}

void DecideTagUpdate(const SongFileAtr& song, const std::string& hitfrom, tagUpdateInfo& info) {
  CopyGbkBounded(info.finalArtist, sizeof info.finalArtist, song.finalArtist);
  CopyGbkBounded(info.finalTitle, sizeof info.finalTitle, song.finalTitle);
  CopyGbkBounded(info.finalAlbum, sizeof info.finalAlbum, song.finalAlbum);
  CopyGbkBounded(info.recArtist, sizeof info.recArtist, song.recArtist);
  CopyGbkBounded(info.recTitle, sizeof info.recTitle, song.recTitle);
  CopyGbkBounded(info.recAlbum, sizeof info.recAlbum, song.recAlbum);
  if (!Has(song.songPath)) {
    info.bUpdate = 0;
    return;
  }
  info.bGoon = song.goonrec;
  const bool differs = std::strcmp(song.recTitle, song.finalTitle) != 0 ||
                       std::strcmp(song.recArtist, song.finalArtist) != 0;
  info.bUpdate = (hitfrom != "tag" && song.goonrec == 0 && Has(song.recTitle) && differs) ? 1 : 0;
}

std::string FormatSignPair(const SignPair& pair) {
  char text[32];
  std::snprintf(text, sizeof text, "%u,%u", static_cast<unsigned>(pair.first),
                static_cast<unsigned>(pair.second));
  return text;
}

bool ParseSignPair(const std::string& text, SignPair& pair) {
  pair = SignPair{0, 0};
  const size_t comma = text.find(',');
  const std::string a = text.substr(0, comma);
  const std::string b = comma == std::string::npos ? std::string() : text.substr(comma + 1);
  if (a.find_first_of("0123456789") == std::string::npos &&
      b.find_first_of("0123456789") == std::string::npos)
    return false;
  pair.first = static_cast<uint32_t>(std::strtoull(a.c_str(), nullptr, 10));
  pair.second = static_cast<uint32_t>(std::strtoull(b.c_str(), nullptr, 10));
  return true;
}

}  // namespace zl

// Value-initialising zeroes every text and signature and empties the list.
void ClearContent(Content& c) { c = Content(); }
