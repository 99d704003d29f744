#include "dialogs/DialogRules.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "shared/GbkText.h"

namespace lyricdlg {

const char kProductDisplayName[] = "Ambrel歌词";

const char kLinkedLyricMessage[] = "若歌词有误，点击此处搜索";

std::string LyricFileName(const std::string& artist, const std::string& title) {
  return artist + "-" + title + ".lrc";
}

std::string UploadInvitation(const std::string& artist, const std::string& title) {
  if (artist.empty() && title.empty()) return "欢迎上传歌词";
  return artist + "-" + title + ",欢迎上传歌词";
}

bool CutToLimit(std::string& text, size_t limit) {
  if (text.size() <= limit) return false;
  text.resize(zl::GbkCutLength(text.data(), text.size(), limit));
  return true;
}

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

SelectCountdown::Step SelectCountdown::Tick() {
  if (!m_running) return Step::None;
  if (m_counter < 1) {
    m_running = false;
    return Step::ChooseFirst;
  }
  --m_counter;
  return Step::Show;
}

std::string CountdownLabel(const std::string& willBe, int counter, const std::string& later) {
  return willBe + std::to_string(counter) + later;
}

const char* SearchInputError(std::string& song, std::string& artist) {
  if (song.size() > kMaxNameBytes) return "SongTooLong";
  if (artist.size() > kMaxNameBytes) return "ArtistTooLong";
  song = Trim(song);
  artist = Trim(artist);
  if (song.empty() && artist.empty()) return "PleaseInputSearchOption";
  return nullptr;
}

SearchNotice NoticeForSearch(Result result, size_t candidates) {
  if (result == RESULT_OK && candidates > 0) return SearchNotice::None;
  return result == RESULT_NET_ERR ? SearchNotice::NetworkFailed : SearchNotice::NothingFound;
}

namespace {
bool EndsWithLrc(const std::string& path) {
  if (path.size() < 4) return false;
  const std::string tail = path.substr(path.size() - 4);
  return tail[0] == '.' && std::tolower(static_cast<unsigned char>(tail[1])) == 'l' &&
         std::tolower(static_cast<unsigned char>(tail[2])) == 'r' &&
         std::tolower(static_cast<unsigned char>(tail[3])) == 'c';
}

template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  zl::CopyGbkBounded(field, N, text.data(), text.size());
}
}  // namespace

const char* LyricFileError(const std::string& path, long long sizeBytes, bool needLrcSuffix) {
  if (needLrcSuffix && !EndsWithLrc(path)) return "SelectLyricFile";
  if (sizeBytes > kMaxLyricFileBytes) return "SubmitLittleThan10kFile";
  return nullptr;
}

const char* UploadInputError(const UploadFields& f) {
  if (Trim(f.song).empty()) return "SongNull";
  if (Trim(f.artist).empty()) return "ArtistNull";
  if (f.path.empty()) return "LyricPathNull";
  if (f.song.size() > kMaxNameBytes) return "SongTooLong";
  if (f.artist.size() > kMaxNameBytes) return "ArtistTooLong";
  if (f.album.size() > kMaxNameBytes) return "AlbumTooLong";
  if (f.uploader.size() > kMaxNameBytes) return "SubmitTooLong";
  if (f.path.size() > kMaxUploadPathBytes) return "LyricPathTooLong";
  return nullptr;
}

LrcItem MakeUploadItem(const UploadFields& f) {
  LrcItem item{};
  CopyField(item.title, Trim(f.song));
  CopyField(item.artist, Trim(f.artist));
  CopyField(item.album, Trim(f.album));
  CopyField(item.uploader, Trim(f.uploader));
  CopyField(item.lrcPath, f.path);
  return item;
}

AdjustInput CheckAdjustInput(const std::string& text) {
  if (text.size() > kAdjustMaxChars) return {AdjustInput::TooLong, "", 0};
  const size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
  for (size_t i = digitsFrom; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return {AdjustInput::Invalid, "", 0};
  }
  // Still being typed: an empty field or a lone minus reads as 0.
  if (text.size() == digitsFrom) return {AdjustInput::Accept, text, 0};
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > kAdjustLimitMs) return {AdjustInput::Accept, std::to_string(kAdjustLimitMs), kAdjustLimitMs};
  if (value < -kAdjustLimitMs) return {AdjustInput::Accept, std::to_string(-kAdjustLimitMs), -kAdjustLimitMs};
  return {AdjustInput::Accept, text, static_cast<int>(value)};
}

int WheelShiftMs(uintptr_t wParam) {
  const auto delta = static_cast<int16_t>(static_cast<uint16_t>((wParam >> 16) & 0xFFFF));
  return delta * 10;
}

std::string RevokedLyricMessage(const char* artist, const char* title) {
  const std::string a = artist ? artist : "";
  const std::string t = title ? title : "";
  if (a.empty() && t.empty()) return kProductDisplayName;
  return a + "-" + t;
}

void SearchPrefill(const char* tagTitle, const char* tagArtist, const char* finalTitle, const char* finalArtist,
                   const char* songPath, std::string& title, std::string& artist) {
  if (tagTitle && *tagTitle) {
    title = tagTitle;
    artist = tagArtist ? tagArtist : "";
    return;
  }
  if (finalTitle && *finalTitle) {
    title = finalTitle;
    artist = finalArtist ? finalArtist : "";
    return;
  }
  // A GBK trail byte can equal '\\' (0x5C): walk the path by characters.
  const std::string path = songPath ? songPath : "";
  size_t nameFrom = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (zl::IsGbkLeadByte(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/') nameFrom = i + 1;
  }
  std::string name = path.substr(nameFrom);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  title = name;
  artist = tagArtist ? tagArtist : "";
}

}  // namespace lyricdlg
