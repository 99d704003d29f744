#include "LyricLibrary.h"

#include <cstdio>

#include "ZipWriter.h"

namespace lyricserver {

namespace {
std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}
bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == tail;
}
std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}
std::string ServerPath(const std::string& artist, const std::string& title) {
  return "/lyrics/" + artist + "-" + title;
}
// The value of an ID tag such as "[ar:Name]" on a line of its own.
std::string Tag(const std::string& lrc, const std::string& name) {
  const std::string open = "[" + name + ":", lower = Lower(lrc);
  size_t at = 0;
  while ((at = lower.find(open, at)) != std::string::npos) {
    if (at == 0 || lrc[at - 1] == '\n' || (at == 3 && lrc.compare(0, 3, "\xEF\xBB\xBF") == 0)) {
      const size_t close = lrc.find(']', at);
      const size_t eol = lrc.find('\n', at);
      if (close != std::string::npos && (eol == std::string::npos || close < eol))
        return Trim(lrc.substr(at + open.size(), close - at - open.size()));
    }
    at += open.size();
  }
  return "";
}
}  // namespace

bool SongNames(const std::string& stem, const std::string& lrc, std::string& artist, std::string& title) {
  const size_t dash = stem.find('-');
  if (dash != std::string::npos) {
    artist = Trim(stem.substr(0, dash));
    title = Trim(stem.substr(dash + 1));
  } else {
    artist = Tag(lrc, "ar");
    title = Tag(lrc, "ti");
  }
  return !title.empty();
}

bool LyricLibrary::Wanted(const std::string& fileName) {
  return EndsWith(fileName, ".lrc") || EndsWith(fileName, ".jpg") || EndsWith(fileName, ".sig");
}

void LyricLibrary::Add(const std::string& fileName, const std::string& data) {
  if (!Wanted(fileName) || !files_.emplace(fileName, data).second) return;
  if (!EndsWith(fileName, ".lrc")) return;
  Song s;
  if (SongNames(fileName.substr(0, fileName.size() - 4), data, s.artist, s.title)) {
    s.lrcFile = fileName;
    songs_.push_back(s);
  }
}

const std::string* LyricLibrary::File(const std::string& name) const {
  auto it = files_.find(name);
  return it == files_.end() ? nullptr : &it->second;
}

std::vector<LyricLibrary::Song> LyricLibrary::Match(const std::string& artist, const std::string& title) const {
  std::vector<Song> out;
  for (const Song& s : songs_) {
    if (Lower(s.title) != Lower(Trim(title))) continue;
    if (!Trim(artist).empty() && Lower(s.artist) != Lower(Trim(artist))) continue;
    out.push_back(s);
  }
  return out;
}

std::string LyricLibrary::Answer(const Query& q, const AnswerOptions& opt) const {
  auto value = [&q](const char* key) {
    auto it = q.values.find(key);
    return it == q.values.end() ? std::string() : it->second;
  };
  const std::string brk = opt.noHeaderBreak ? "" : "\r\n";
  std::vector<Song> songs = Match(value("artist"), value("songname"));
  const std::string path = value("path");
  if (!path.empty()) {
    for (const Song& s : songs_)
      if (ServerPath(s.artist, s.title) == path) songs.insert(songs.begin(), s);
  }
  if (songs.empty()) return "rcode=" + std::to_string(opt.noneRcode) + "\r\nTP=none\r\n" + brk;

  if (value("type") == "1" || (opt.listWithoutPath && path.empty())) {
    std::string body = "rcode=0\r\nhitfrom=tag\r\nTP=list\r\n" + brk;
    for (const Song& s : songs)
      body += "ARTIST=" + s.artist + "\r\nSONGNAME=" + s.title + "\r\nPROVIDER=standin\r\nPATH=" +
              ServerPath(s.artist, s.title) + "\r\n\r\n";
    return body;
  }

  const Song& s = songs.front();
  const std::string pair = s.artist + "-" + s.title;
  std::vector<ZipEntry> entries;
  entries.push_back({"Lyric/" + pair + ".lrc", *File(s.lrcFile)});
  if (value("req") != "part") {
    for (const char* suffix : {".jpg", "_swf.jpg", "_swf.sig"})
      if (const std::string* f = File(s.artist + suffix)) entries.push_back({"Artist/" + s.artist + suffix, *f});
  }
  for (const char* suffix : {"_flv.jpg", "_flv.sig"})
    if (const std::string* f = File(pair + suffix)) entries.push_back({"MTV/" + pair + suffix, *f});

  uint32_t sig = 0;
  for (const ZipEntry& e : entries) sig = Crc32(e.data, sig);
  char zipsig[16];
  std::snprintf(zipsig, sizeof zipsig, "%08x", static_cast<unsigned>(sig));
  std::string head = "rcode=0\r\nhitfrom=tag\r\nrtitle=" + s.title + "\r\nrartist=" + s.artist +
                     "\r\nralbum=\r\nzipsig=" + zipsig + "\r\npath=" + ServerPath(s.artist, s.title) + "\r\n";
  if (!opt.password.empty()) head += "password=" + opt.password + "\r\n";
  head += "TP=content\r\n" + brk;
  return head + BuildZip(entries, opt.password, sig);
}

}  // namespace lyricserver
