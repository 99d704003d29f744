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
std::string ServerPath(const std::string& artist, const std::string& title) {
  return "/lyrics/" + artist + "-" + title;
}
}  // namespace

const std::string* LyricLibrary::File(const std::string& name) const {
  auto it = files_.find(name);
  return it == files_.end() ? nullptr : &it->second;
}

std::vector<LyricLibrary::Song> LyricLibrary::Match(const std::string& artist, const std::string& title) const {
  std::vector<Song> out;
  for (const auto& f : files_) {
    if (!EndsWith(f.first, ".lrc")) continue;
    const std::string stem = f.first.substr(0, f.first.size() - 4);
    const size_t dash = stem.find('-');
    if (dash == std::string::npos) continue;
    Song s{stem.substr(0, dash), stem.substr(dash + 1)};
    if (Lower(s.title) != Lower(title)) continue;
    if (!artist.empty() && Lower(s.artist) != Lower(artist)) continue;
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
    for (const auto& f : files_) {
      const size_t dash = f.first.find('-');
      if (EndsWith(f.first, ".lrc") && dash != std::string::npos &&
          ServerPath(f.first.substr(0, dash), f.first.substr(dash + 1, f.first.size() - dash - 5)) == path)
        songs.insert(songs.begin(), Song{f.first.substr(0, dash), f.first.substr(dash + 1, f.first.size() - dash - 5)});
    }
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
  entries.push_back({"Lyric/" + pair + ".lrc", *File(pair + ".lrc")});
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
