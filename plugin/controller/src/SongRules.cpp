#include "controller/SongRules.h"

#include <cctype>
#include <cstring>

#include "shared/GbkText.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The last '\' or '/' that is a separator, not the trail byte of a GBK character.
size_t LastSeparator(const std::string& path, size_t before = std::string::npos) {
  size_t found = std::string::npos;
  const size_t end = before == std::string::npos ? path.size() : before;
  for (size_t i = 0; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (zl::IsGbkLeadByte(c) && i + 1 < end) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/') found = i;
  }
  return found;
}

void PutField(std::string& bytes, size_t offset, size_t size, const std::string& text) {
  char field[256] = {};
  zl::CopyGbkBounded(field, size < sizeof field ? size : sizeof field, text.data(), text.size());
  std::memcpy(&bytes[offset], field, std::strlen(field));
}

}  // namespace

SongSupport ClassifySong(const std::string& path) {
  if (path.empty() || path.compare(0, 4, "http") == 0) return SongSupport::NotSupported;
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return SongSupport::NotSupported;
  const std::string ext = Lower(path.substr(dot));
  if (ext == ".mp3" || ext == ".wma" || ext == ".ram") return SongSupport::Supported;
  if (ext == ".rm") return SongSupport::RmNeedsSize;
  return SongSupport::NotSupported;
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (zl::IsGbkLeadByte(x) && i + 1 < a.size()) {
      // A double-byte character matches only itself: its trail byte may look like a letter.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

SongCheckEvent DecideSongCheck(const std::string& current, std::string& lastSong, std::string& previousSong) {
  if (current.empty() || SamePath(current, lastSong)) return SongCheckEvent::None;
  if (!lastSong.empty()) {
    previousSong = lastSong;
    lastSong = current;
    return SongCheckEvent::ChangeSong;
  }
  // After a stop: the same song again only plays on.
  const bool again = SamePath(current, previousSong);
  previousSong = lastSong;
  lastSong = current;
  return again ? SongCheckEvent::Play : SongCheckEvent::ChangeSong;
}

void ApplyStop(std::string& lastSong, std::string& previousSong) {
  previousSong = lastSong;
  lastSong.clear();
}

bool IsModernSkinName(const std::string& skinName) { return skinName.compare(0, 13, "Winamp Modern") == 0; }

P2PRequest DeriveP2PRequest(Result result, const Content& c, bool viewOffersMv, bool viewOffersPictures) {
  P2PRequest r{{0, 0}, {0, 0}, 2, 1};
  if (result == RESULT_NET_ERR) {
    r.flvStatus = 10;
    r.swfStatus = 9;
  } else if (result == RESULT_OK) {
    if (c.song_flv_signature.first != 0 && viewOffersMv) {
      r.flv = c.song_flv_signature;
      r.flvStatus = 3;
    }
    if (c.artist_swf_signature.first != 0 && viewOffersPictures) {
      r.swf = c.artist_swf_signature;
      r.swfStatus = 3;
    }
  }
  return r;
}

std::string LastTwoComponents(const std::string& path) {
  const size_t last = LastSeparator(path);
  if (last == std::string::npos) return "";
  const size_t folder = LastSeparator(path, last);
  return path.substr(folder == std::string::npos ? 0 : folder + 1);
}

std::string PlayLogLine(const std::string& songPath, const PlayLogNames& n, bool hasLyric) {
  return "F:" + LastTwoComponents(songPath) + "|S<" + n.finalTitle + ">AR<" + n.finalArtist + ">AL<" +
         n.finalAlbum + ">|REC:S<" + n.recTitle + ">AR<" + n.recArtist + ">AL<" + n.recAlbum + ">|LRC:<" +
         (hasLyric ? "OK" : "NOT") + ">";
}

std::string MvEventText(const char* artist, const char* title) {
  return std::string("S<") + (artist ? artist : "") + ">|AR<" + (title ? title : "") + ">";
}

std::string TagHandOverBytes(const std::string& title, const std::string& artist, const std::string& album) {
  std::string bytes(kTagHandOverSize, '\0');
  bytes[0] = 1;  // the 32-bit value 1, little-endian
  PutField(bytes, 4, 256, title);
  PutField(bytes, 4 + 256, 256, artist);
  PutField(bytes, 4 + 512, 256, album);
  return bytes;
}

std::string TagHandOverPath(const std::string& home, const std::string& hostProgramPath) {
  const size_t sep = LastSeparator(hostProgramPath);
  std::string name = sep == std::string::npos ? hostProgramPath : hostProgramPath.substr(sep + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return home + "\\update\\tag" + name + ".tmp";
}

std::string TagToolCommand(const std::string& handOverPath, const std::string& songPath) {
  return "tagprobe.exe S \"" + handOverPath + "\" \"" + songPath + "\"";
}

PlayerKind PlayerKindFromPath(const std::string& hostProgramPath) {
  const std::string upper = Upper(hostProgramPath);
  if (upper.find("WMPLAYER") != std::string::npos) return {"wmp", "WMP_RUNNING"};
  if (upper.find("WINAMP") != std::string::npos) return {"winamp", "WINAMP_RUNNING"};
  if (upper.find("REALPLAY") != std::string::npos) return {"real", "REAL_RUNNING"};
  return {};
}
