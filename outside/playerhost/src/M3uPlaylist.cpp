#include "M3uPlaylist.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "GbkChars.h"

namespace playerhost {
namespace {

// A playlist is a text file of a few kilobytes; anything far larger is not one.
constexpr long kMaxPlaylistBytes = 16L * 1024 * 1024;

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return s.substr(b, e - b);
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= s.size()) return false;
    char a = s[i], b = prefix[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
  }
  return true;
}

bool IsAbsolute(const std::string& p) {
  if (p.empty()) return false;
  if (p[0] == '\\' || p[0] == '/') return true;  // rooted or UNC
  if (p.size() >= 2 && p[1] == ':') return true;  // drive letter
  return p.find("://") != std::string::npos;      // stream URL
}

struct ExtInf {
  bool present = false;
  int lengthSec = 0;  // 0: unknown
  std::string title;
};

// "#EXTINF:<seconds>,<title>"; a duration that is not a number counts as unknown.
ExtInf ParseExtInf(const std::string& line) {
  ExtInf info;
  info.present = true;
  const std::string rest = line.substr(8);  // after "#EXTINF:"
  const size_t comma = rest.find(',');
  const std::string secs = Trim(rest.substr(0, comma));
  if (!secs.empty()) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(secs.c_str(), &end, 10);
    if (errno == 0 && end && *end == '\0' && v > 0 && v <= 24L * 3600 * 366) {
      info.lengthSec = static_cast<int>(v);
    }
  }
  if (comma != std::string::npos) info.title = Trim(rest.substr(comma + 1));
  return info;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t slash = LastSeparator(path);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TitleFromPath(const std::string& path) {
  std::string name = path.substr(FolderOf(path).size());
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? path : name;
}

bool IsPlaylistFileName(const std::string& path) {
  auto endsWith = [&](const char* ext) {
    const std::string e(ext);
    return path.size() > e.size() && StartsWithNoCase(path.substr(path.size() - e.size()), ext);
  };
  return endsWith(".m3u") || endsWith(".m3u8");
}

std::vector<PlaylistEntry> ParseM3u(const std::string& text, const std::string& baseFolder,
                                    int defaultLengthSec) {
  std::vector<PlaylistEntry> entries;
  ExtInf pending;
  size_t pos = 0;
  // An UTF-8 byte-order mark (".m3u8" files) is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  while (pos <= text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    const std::string line = Trim(text.substr(pos, eol - pos));
    pos = eol + 1;
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (StartsWithNoCase(line, "#EXTINF:")) pending = ParseExtInf(line);
      continue;  // #EXTM3U and other comments
    }
    PlaylistEntry e;
    e.path = IsAbsolute(line) ? line : baseFolder + line;
    e.title = pending.present && !pending.title.empty() ? pending.title : TitleFromPath(e.path);
    e.lengthSec = pending.lengthSec > 0 ? pending.lengthSec : defaultLengthSec;
    entries.push_back(std::move(e));
    pending = ExtInf();  // an #EXTINF line describes only the entry right after it
  }
  return entries;
}

bool LoadM3uFile(const std::string& path, int defaultLengthSec,
                 std::vector<PlaylistEntry>& entries, std::string& error) {
  entries.clear();
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    error = "cannot open playlist " + path;
    return false;
  }
  std::string text;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
    text.append(chunk, got);
    if (static_cast<long>(text.size()) > kMaxPlaylistBytes) {
      error = "playlist too large: " + path;
      return false;
    }
  }
  if (std::ferror(f.get())) {
    error = "cannot read playlist " + path;
    return false;
  }
  entries = ParseM3u(text, FolderOf(path), defaultLengthSec);
  return true;
}

}  // namespace playerhost
