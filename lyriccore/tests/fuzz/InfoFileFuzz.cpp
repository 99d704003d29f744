// Song info files as they lie on disk (the user, another program or a bad
// disk may have changed them): every field read fits, and what the engine
// writes back reads back the same, so no value can forge a line or a section.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "InfoFile.h"
#include "KeyValueText.h"
#include "shared/GbkText.h"

namespace {

using zl::FieldText;

struct Parsed {
  SongFileAtr song{};
  std::string hitfrom;
  zl::InfoFileAnswer answer;
  bool split = false;
};

Parsed Parse(const std::string& text) {
  Parsed p;
  std::string songPart, resourcePart, after;
  p.split = zl::SplitInfoFile(text, songPart, resourcePart);
  if (!p.split) return p;
  zl::ReadSongAttributes(songPart, p.song, p.hitfrom);
  p.answer.type = zl::InfoAnswerType(resourcePart, after);
  if (p.answer.type == RESULT_TYPE_LIST) zl::ParseSearchList(after, p.answer.list);
  if (p.answer.type == RESULT_TYPE_CONTENT)
    zl::ReadResourceFields(resourcePart, p.answer.content, p.answer.zipSig, p.answer.resPath);
  return p;
}

template <size_t N>
void CheckField(const char (&field)[N]) {
  FUZZ_CHECK(FuzzFieldTerminated(field, N));
  const size_t len = std::strlen(field);
  FUZZ_CHECK(zl::GbkCutLength(field, len, N - 1) == len);
}

// What a value becomes on its way through a file: line breaks turn into
// blanks, and the reader trims.
std::string Written(const std::string& v) {
  std::string w = v;
  for (char& c : w)
    if (c == '\r' || c == '\n') c = ' ';
  return zl::TrimKeyValue(w);
}

template <size_t N>
void CheckSame(const char (&before)[N], const char (&after)[N]) {
  FUZZ_CHECK(Written(FieldText(before)) == FieldText(after));
}

void CheckRoundTrip(const Parsed& a, const Parsed& b) {
  FUZZ_CHECK(b.split);
  const SongFileAtr &s = a.song, &t = b.song;
  CheckSame(s.tagArtist, t.tagArtist);
  CheckSame(s.tagTitle, t.tagTitle);
  CheckSame(s.tagAlbum, t.tagAlbum);
  CheckSame(s.recArtist, t.recArtist);
  CheckSame(s.recTitle, t.recTitle);
  CheckSame(s.recAlbum, t.recAlbum);
  CheckSame(s.finalArtist, t.finalArtist);
  CheckSame(s.finalTitle, t.finalTitle);
  CheckSame(s.finalAlbum, t.finalAlbum);
  FUZZ_CHECK(s.nKbps == t.nKbps && s.unLength == t.unLength && s.goonrec == t.goonrec);
  FUZZ_CHECK(s.recTime == t.recTime && s.sig1 == t.sig1 && s.sig2 == t.sig2);
  FUZZ_CHECK(Written(a.hitfrom) == b.hitfrom);
  FUZZ_CHECK(a.answer.type == b.answer.type || (a.answer.type != RESULT_TYPE_LIST &&
                                                a.answer.type != RESULT_TYPE_CONTENT &&
                                                b.answer.type == RESULT_TYPE_NONE));
  if (a.answer.type == RESULT_TYPE_LIST) {
    FUZZ_CHECK(a.answer.list.size() == b.answer.list.size());
    for (size_t i = 0; i < a.answer.list.size(); ++i) {
      const SearchItem &x = a.answer.list[i], &y = b.answer.list[i];
      CheckSame(x.artist, y.artist);
      CheckSame(x.title, y.title);
      CheckSame(x.provider, y.provider);
      CheckSame(x.resPath, y.resPath);
    }
  }
  if (a.answer.type == RESULT_TYPE_CONTENT) {
    const Content &x = a.answer.content, &y = b.answer.content;
    CheckSame(x.artist, y.artist);
    CheckSame(x.title, y.title);
    CheckSame(x.artist_pic_path, y.artist_pic_path);
    CheckSame(x.artist_swf_pic, y.artist_swf_pic);
    CheckSame(x.song_flv_pic_path, y.song_flv_pic_path);
    CheckSame(x.lrc_path, y.lrc_path);
    FUZZ_CHECK(x.artist_swf_signature.first == y.artist_swf_signature.first &&
               x.artist_swf_signature.second == y.artist_swf_signature.second);
    FUZZ_CHECK(x.song_flv_signature.first == y.song_flv_signature.first &&
               x.song_flv_signature.second == y.song_flv_signature.second);
    FUZZ_CHECK(Written(a.answer.zipSig) == b.answer.zipSig);
    FUZZ_CHECK(Written(a.answer.resPath) == b.answer.resPath);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Parsed first = Parse(text);
  if (!first.split) return 0;
  const SongFileAtr& s = first.song;
  CheckField(s.tagArtist);
  CheckField(s.tagTitle);
  CheckField(s.tagAlbum);
  CheckField(s.recArtist);
  CheckField(s.recTitle);
  CheckField(s.recAlbum);
  CheckField(s.finalArtist);
  CheckField(s.finalTitle);
  CheckField(s.finalAlbum);
  for (const SearchItem& item : first.answer.list) {
    CheckField(item.artist);
    CheckField(item.title);
    CheckField(item.provider);
    CheckField(item.resPath);
  }
  const Content& c = first.answer.content;
  CheckField(c.artist);
  CheckField(c.title);
  CheckField(c.artist_pic_path);
  CheckField(c.artist_swf_pic);
  CheckField(c.song_flv_pic_path);
  CheckField(c.lrc_path);

  const std::string written = zl::FormatInfoFile(first.song, first.hitfrom, first.answer, first.song.updTime);
  const Parsed second = Parse(written);
  CheckRoundTrip(first, second);
  FUZZ_CHECK(second.song.updTime == first.song.updTime);
  return 0;
}
