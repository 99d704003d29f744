#include "LocalNames.h"

#include <cctype>
#include <cstring>

#include "shared/GbkPath.h"
#include "shared/GbkText.h"

namespace zl {

namespace {

bool IsRefusedInName(unsigned char c) {
  return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

std::string PairName(const std::string& artist, const std::string& title, const char* suffix) {
  return FileNamePart(artist) + "-" + FileNamePart(title) + suffix;
}

}  // namespace

std::string NormalizeSongPath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '/') c = '\\';  // never a GBK trail byte
  return out;
}

std::string FileNamePart(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsGbkLeadByte(c) && i + 1 < name.size()) {
      out += name[i];
      out += name[++i];
      continue;
    }
    out += IsRefusedInName(c) ? '_' : name[i];
  }
  return out;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return EndsInPathSeparator(folder) ? folder + name : folder + "\\" + name;
}

std::string InfoFilePath(const std::string& resourceDir, const std::string& key) {
  return JoinPath(resourceDir, "info\\" + key + ".info");
}

std::string ArtistPicturePath(const std::string& resourceDir, const std::string& artist) {
  return JoinPath(resourceDir, "Artist\\" + FileNamePart(artist) + ".jpg");
}

std::string ArtistSwfPicturePath(const std::string& resourceDir, const std::string& artist) {
  return JoinPath(resourceDir, "Artist\\" + FileNamePart(artist) + "_swf.jpg");
}

std::string ArtistSwfSignaturePath(const std::string& resourceDir, const std::string& artist) {
  return JoinPath(resourceDir, "Artist\\" + FileNamePart(artist) + "_swf.sig");
}

std::string MvPicturePath(const std::string& resourceDir, const std::string& artist,
                          const std::string& title) {
  return JoinPath(resourceDir, "MTV\\" + PairName(artist, title, "_flv.jpg"));
}

std::string MvSignaturePath(const std::string& resourceDir, const std::string& artist,
                            const std::string& title) {
  return JoinPath(resourceDir, "MTV\\" + PairName(artist, title, "_flv.sig"));
}

std::string ResourceLyricPath(const std::string& resourceDir, const std::string& artist,
                              const std::string& title) {
  return JoinPath(resourceDir, "Lyric\\" + LyricFileName(artist, title));
}

std::string LyricFileName(const std::string& artist, const std::string& title) {
  return PairName(artist, title, ".lrc");
}

std::string UserLyricCopyPath(const LyricSettings& settings, const std::string& songPath,
                              const std::string& artist, const std::string& title,
                              const std::string& lyricDir) {
  const std::string stem = FileNamePart(PathStem(songPath));
  const std::string name = (settings.SaveLrcFileAsSongFileName == 1 && !stem.empty())
                               ? stem + ".lrc"
                               : LyricFileName(artist, title);
  const std::string songFolder = PathFolder(songPath);
  std::string folder;
  if (settings.SaveLrcInSongPath == 1 && !songFolder.empty()) folder = songFolder;
  else if (settings.SaveLrcInOtherPath == 1 && !settings.LrcSavePath.empty()) folder = settings.LrcSavePath;
  else folder = lyricDir;
  return JoinPath(folder, name);
}

std::vector<std::string> LocalLyricCandidates(const std::vector<LocalLyricFolder>& folders,
                                              const std::string& artist, const std::string& title) {
  std::vector<std::string> paths;
  for (const LocalLyricFolder& f : folders) paths.push_back(JoinPath(f.path, LyricFileName(artist, title)));
  return paths;
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  auto fold = [](unsigned char c) {
    if (c == '/') return static_cast<unsigned char>('\\');
    return c < 0x80 ? static_cast<unsigned char>(std::tolower(c)) : c;
  };
  for (size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (IsGbkLeadByte(x) && i + 1 < a.size()) {
      // A double-byte character compares exactly: its trail byte is no letter.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (fold(x) != fold(y)) return false;
  }
  return true;
}

}  // namespace zl
