#include "InfoFile.h"

#include <cstdlib>
#include <cstring>

#include "KeyValueText.h"
#include "ResourceRules.h"

namespace zl {

namespace {

const char kSongHead[] = "[SongFileAtr]";
const char kResourceHead[] = "[Resource]";
const char kEol[] = "\r\n";

// A line break inside a value (a name from a server, say) would start a
// line of its own and could pass for a key or a section head.
std::string OneLine(std::string value) {
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';  // never a GBK trail byte
  return value;
}

class Lines {
 public:
  void Add(const char* key, const std::string& value) { text_ += std::string(key) + "=" + OneLine(value) + kEol; }
  void Add(const char* key, const char* value) { Add(key, std::string(value)); }
  void Add(const char* key, uint32_t value) { Add(key, std::to_string(value)); }
  void Add(const char* key, int32_t value) { Add(key, std::to_string(value)); }
  void Line(const char* text) { text_ += std::string(text) + kEol; }
  std::string& Text() { return text_; }

 private:
  std::string text_;
};

// Position of a line that is exactly `head` (CR allowed before its LF), or npos.
size_t FindHeadLine(const std::string& text, const char* head, size_t from) {
  const size_t n = std::strlen(head);
  for (size_t p = text.find(head, from); p != std::string::npos; p = text.find(head, p + 1)) {
    const bool atLineStart = p == 0 || text[p - 1] == '\n';
    size_t e = p + n;
    if (e < text.size() && text[e] == '\r') ++e;
    const bool atLineEnd = e == text.size() || text[e] == '\n';
    if (atLineStart && atLineEnd) return p;
  }
  return std::string::npos;
}

uint32_t ToUnsigned(const std::string& v) {
  return static_cast<uint32_t>(std::strtoull(v.c_str(), nullptr, 10));
}

int32_t ToSigned(const std::string& v) {
  const long long n = std::strtoll(v.c_str(), nullptr, 10);
  if (n > INT32_MAX) return INT32_MAX;
  if (n < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(n);
}

bool IsBlankLine(const std::string& text, size_t b, size_t e) {
  for (size_t i = b; i < e; ++i)
    if (text[i] != '\r' && text[i] != ' ' && text[i] != '\t') return false;
  return true;
}

void ParseBlock(const std::string& block, std::vector<SearchItem>& list) {
  SearchItem item{};
  bool any = false;
  ForEachKeyValue(block, [&](const std::string& key, const std::string& value) {
    if (key == "ARTIST") CopyToField(item.artist, sizeof item.artist, value);
    else if (key == "SONGNAME") CopyToField(item.title, sizeof item.title, value);
    else if (key == "PROVIDER") CopyToField(item.provider, sizeof item.provider, value);
    else if (key == "PATH") CopyToField(item.resPath, sizeof item.resPath, value);
    else return;
    any = true;
  });
  if (any) list.push_back(item);
}

}  // namespace

std::string FormatInfoFile(const SongFileAtr& s, const std::string& hitfrom,
                           const InfoFileAnswer& answer, int32_t updTime) {
  Lines out;
  out.Line(kSongHead);
  out.Add("songPath", s.songPath);
  out.Add("tagArtist", s.tagArtist);
  out.Add("tagTitle", s.tagTitle);
  out.Add("tagAlbum", s.tagAlbum);
  out.Add("nKbps", s.nKbps);
  out.Add("unLength", s.unLength);
  out.Add("goonrec", uint32_t{s.goonrec ? 1u : 0u});
  out.Add("recTime", s.recTime);
  out.Add("hitfrom", hitfrom);
  out.Add("recArtist", s.recArtist);
  out.Add("recTitle", s.recTitle);
  out.Add("recAlbum", s.recAlbum);
  out.Add("FP", s.FP);
  out.Add("sig1", s.sig1);
  out.Add("sig2", s.sig2);
  out.Add("finalArtist", s.finalArtist);
  out.Add("finalTitle", s.finalTitle);
  out.Add("finalAlbum", s.finalAlbum);
  out.Add("updTime", updTime);
  out.Line(kResourceHead);
  if (answer.type == RESULT_TYPE_LIST) {
    out.Line("TP=list");
    out.Line("");
    for (const SearchItem& item : answer.list) {
      out.Add("ARTIST", item.artist);
      out.Add("SONGNAME", item.title);
      out.Add("PROVIDER", item.provider);
      out.Add("PATH", item.resPath);
      out.Line("");
    }
  } else if (answer.type == RESULT_TYPE_CONTENT) {
    const Content& c = answer.content;
    out.Line("TP=content");
    out.Line("");
    out.Add("artist", c.artist);
    out.Add("title", c.title);
    out.Add("artist_pic_path", c.artist_pic_path);
    out.Add("artist_swf_pic", c.artist_swf_pic);
    out.Add("artist_swf_signature", FormatSignPair(c.artist_swf_signature));
    out.Add("song_flv_pic_path", c.song_flv_pic_path);
    out.Add("song_flv_signature", FormatSignPair(c.song_flv_signature));
    out.Add("lrc_path", c.lrc_path);
    out.Add("sig", answer.zipSig);
    out.Add("path", answer.resPath);
  }
  return std::move(out.Text());
}

bool SplitInfoFile(const std::string& text, std::string& songPart, std::string& resourcePart) {
  songPart.clear();
  resourcePart.clear();
  const size_t song = FindHeadLine(text, kSongHead, 0);
  if (song == std::string::npos) return false;
  const size_t res = FindHeadLine(text, kResourceHead, song);
  if (res == std::string::npos) return false;
  const size_t songBody = song + std::strlen(kSongHead);
  songPart = text.substr(songBody, res - songBody);
  resourcePart = text.substr(res + std::strlen(kResourceHead));
  return true;
}

void ReadSongAttributes(const std::string& songPart, SongFileAtr& s, std::string& hitfrom) {
  const bool playerGaveKbps = s.nKbps != 0;
  ForEachKeyValue(songPart, [&](const std::string& key, const std::string& v) {
    if (key == "tagArtist") CopyToField(s.tagArtist, sizeof s.tagArtist, v);
    else if (key == "tagTitle") CopyToField(s.tagTitle, sizeof s.tagTitle, v);
    else if (key == "tagAlbum") CopyToField(s.tagAlbum, sizeof s.tagAlbum, v);
    else if (key == "nKbps") { if (!playerGaveKbps) s.nKbps = ToUnsigned(v); }
    else if (key == "unLength") s.unLength = ToUnsigned(v);
    else if (key == "goonrec") s.goonrec = ToSigned(v) != 0 ? 1 : 0;
    else if (key == "recTime") s.recTime = ToSigned(v);
    else if (key == "hitfrom") hitfrom = v;
    else if (key == "recArtist") CopyToField(s.recArtist, sizeof s.recArtist, v);
    else if (key == "recTitle") CopyToField(s.recTitle, sizeof s.recTitle, v);
    else if (key == "recAlbum") CopyToField(s.recAlbum, sizeof s.recAlbum, v);
    else if (key == "sig1") s.sig1 = ToUnsigned(v);
    else if (key == "sig2") s.sig2 = ToUnsigned(v);
    else if (key == "finalArtist") CopyToField(s.finalArtist, sizeof s.finalArtist, v);
    else if (key == "finalTitle") CopyToField(s.finalTitle, sizeof s.finalTitle, v);
    else if (key == "finalAlbum") CopyToField(s.finalAlbum, sizeof s.finalAlbum, v);
    else if (key == "updTime") s.updTime = ToSigned(v);
  });
}

ResultType InfoAnswerType(const std::string& resourcePart, std::string& after) {
  after.clear();
  size_t start = 0;
  while (start < resourcePart.size()) {
    size_t end = resourcePart.find('\n', start);
    if (end == std::string::npos) end = resourcePart.size();
    const std::string line = resourcePart.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos && TrimKeyValue(line.substr(0, eq)) == "TP") {
      const std::string value = line.substr(eq + 1);
      if (end < resourcePart.size()) after = resourcePart.substr(end + 1);
      if (value.find("list") != std::string::npos) return RESULT_TYPE_LIST;
      if (value.find("content") != std::string::npos) return RESULT_TYPE_CONTENT;
      return RESULT_TYPE_NONE;
    }
    start = end + 1;
  }
  return RESULT_TYPE_NONE;
}

void ParseSearchList(const std::string& body, std::vector<SearchItem>& list) {
  size_t blockStart = 0, start = 0;
  while (start <= body.size()) {
    size_t end = body.find('\n', start);
    if (end == std::string::npos) end = body.size();
    if (IsBlankLine(body, start, end)) {
      ParseBlock(body.substr(blockStart, start - blockStart), list);
      blockStart = end + 1;
    }
    if (end == body.size()) break;
    start = end + 1;
  }
  if (blockStart < body.size()) ParseBlock(body.substr(blockStart), list);
}

void ReadResourceFields(const std::string& text, Content& c, std::string& zipSig,
                        std::string& resPath) {
  ForEachKeyValue(text, [&](const std::string& key, const std::string& v) {
    if (key == "artist") CopyToField(c.artist, sizeof c.artist, v);
    else if (key == "title") CopyToField(c.title, sizeof c.title, v);
    else if (key == "artist_pic_path") CopyToField(c.artist_pic_path, sizeof c.artist_pic_path, v);
    else if (key == "artist_swf_pic") CopyToField(c.artist_swf_pic, sizeof c.artist_swf_pic, v);
    else if (key == "artist_swf_signature") ParseSignPair(v, c.artist_swf_signature);
    else if (key == "song_flv_pic_path") CopyToField(c.song_flv_pic_path, sizeof c.song_flv_pic_path, v);
    else if (key == "song_flv_signature") ParseSignPair(v, c.song_flv_signature);
    else if (key == "lrc_path") CopyToField(c.lrc_path, sizeof c.lrc_path, v);
    else if (key == "sig") zipSig = v;
    else if (key == "path") resPath = v;
  });
}

bool IsInfoFresh(int64_t now, int32_t updTime, int intervalMinutes) {
  const int64_t interval = intervalMinutes > 0 ? intervalMinutes : 1440;
  const int64_t age = now - updTime;
  return age >= 0 && age <= interval * 60;
}

}  // namespace zl
