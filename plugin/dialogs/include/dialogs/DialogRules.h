#pragma once
// The lyric dialogs' decisions, without windows: input checks, the
// select-lyric countdown, the search notice, the adjust-time field and the
// wheel shift. Lengths are bytes in the system code page (GBK); every cut
// keeps double-byte characters whole.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lyriccore/LyricRecords.h"

namespace lyricdlg {

constexpr size_t kMaxNameBytes = 100;        // song name, artist, album, uploader
constexpr size_t kMaxFileNameBytes = 100;    // the select-lyric file name
constexpr size_t kMaxUploadPathBytes = 200;  // the upload dialog's lyric path
constexpr long long kMaxLyricFileBytes = 10240;

// A fixed-size record field as text, also when it lacks its NUL.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field, length);
}

// "%s-%s.lrc" of artist and song name.
std::string LyricFileName(const std::string& artist, const std::string& title);
// Cuts text to at most `limit` bytes without splitting a double-byte
// character; true when it was longer.
bool CutToLimit(std::string& text, size_t limit);
// Without leading and trailing blanks (space, tab, CR, LF).
std::string Trim(const std::string& text);

// The select-lyric dialog's automatic choice: 15 ticks after the start the
// first candidate is taken, unless the user selected an entry before.
class SelectCountdown {
 public:
  static constexpr int kStart = 15;
  enum class Step { None, Show, ChooseFirst };

  void Start() {
    m_counter = kStart;
    m_running = true;
  }
  // For good: a stopped countdown never runs again.
  void Stop() { m_running = false; }
  bool Running() const { return m_running; }
  // One tick: ChooseFirst once the counter is below 1, else Show with the
  // counter decremented (so the label counts 14 down to 0).
  Step Tick();
  int Counter() const { return m_counter; }

 private:
  int m_counter = 0;
  bool m_running = false;
};

// "%s%d%s": the "WillBe" text, the counter, the "LaterToAutoDownload" text.
std::string CountdownLabel(const std::string& willBe, int counter, const std::string& later);

// Search by names: the string-table key of the first failed check, or null.
// On success song and artist are trimmed in place. Lengths are checked on
// the text as typed, emptiness after trimming.
const char* SearchInputError(std::string& song, std::string& artist);

// Which of the search dialog's two notices replaces the list: none when the
// search gave candidates.
enum class SearchNotice { None, NetworkFailed, NothingFound };
SearchNotice NoticeForSearch(Result result, size_t candidates);

// A lyric file picked in a file dialog: the message key when it is refused.
// The upload dialog also wants the ".lrc" suffix (case-insensitive).
const char* LyricFileError(const std::string& path, long long sizeBytes, bool needLrcSuffix);

// The upload dialog's fields as typed.
struct UploadFields {
  std::string song, artist, album, uploader, path;
};
// The string-table key of the first failed check, in the dialog's order, or null.
const char* UploadInputError(const UploadFields& fields);
// The upload request: names trimmed, every field bounded to its record size.
LrcItem MakeUploadItem(const UploadFields& fields);

// The adjust-time field after a change.
struct AdjustInput {
  enum Verdict { Accept, TooLong, Invalid } verdict;
  std::string text;  // what the field is to show (clamped) when accepted
  int value;         // the accepted value; 0 for "" and "-"
};
constexpr int kAdjustLimitMs = 10000;
constexpr size_t kAdjustMaxChars = 6;
AdjustInput CheckAdjustInput(const std::string& text);

// One wheel message's shift in ms: the signed high word of wParam times 10
// (a notch of 120 is 1200 ms; turning towards the user is negative).
int WheelShiftMs(uintptr_t wParam);

// The message line after the user dropped the lyric: "%s-%s" of artist and
// title, or the product's display name when both are empty.
std::string RevokedLyricMessage(const char* artist, const char* title);
extern const char kProductDisplayName[];

// The upload invitation of the message line: "%s-%s,欢迎上传歌词" of artist
// and title, or "欢迎上传歌词" when both are empty.
std::string UploadInvitation(const std::string& artist, const std::string& title);
// The message line after the user linked a local lyric file.
extern const char kLinkedLyricMessage[];

// Names the search dialog opens with: the tags' title and artist, or, when
// the tag title is empty, the engine's final names, or else the song file's
// name without folder and extension as the title.
void SearchPrefill(const char* tagTitle, const char* tagArtist, const char* finalTitle, const char* finalArtist,
                   const char* songPath, std::string& title, std::string& artist);

}  // namespace lyricdlg
