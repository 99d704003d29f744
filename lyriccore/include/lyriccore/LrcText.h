#pragma once
// Timed lyric lines, LRC identification tags, the LRC parser, the time format
// the engine writes LRC text with, and whole-file text helpers.
// Nothing here keeps state: every function may run on any thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lyriccore/Export.h"
#include "shared/TextEncoding.h"

// One lyric line. Text is in the system code page: a file in the code page
// gives its own bytes, a UTF-8 or UTF-16 file its text converted.
struct TimeSentence {
  int32_t startTime;  // ms from the start of the song; may be negative
  int32_t endTime;    // ms
  char text[260];     // NUL-terminated, at most 259 bytes
};
static_assert(sizeof(TimeSentence) == 268, "TimeSentence crosses the DLL boundary");
static_assert(offsetof(TimeSentence, startTime) == 0, "layout");
static_assert(offsetof(TimeSentence, endTime) == 4, "layout");
static_assert(offsetof(TimeSentence, text) == 8, "layout");

// The identification tags of a lyric; each at most 99 bytes.
struct LrcTags {
  char ar[100];
  char ti[100];
  char al[100];
  char by[100];
};
static_assert(sizeof(LrcTags) == 400, "LrcTags is a block of Content");
static_assert(offsetof(LrcTags, ar) == 0 && offsetof(LrcTags, ti) == 100 &&
                  offsetof(LrcTags, al) == 200 && offsetof(LrcTags, by) == 300,
              "layout");

// One timed word of an enhanced lyric line ("<mm:ss.xx>" inside its text, as
// karaoke editors write it): from byte `byte` of the shown text on, sung
// `atMs` after the line starts. Times are as written: they need not grow,
// nor stay inside the line.
struct LyricWord {
  int32_t atMs;   // 0 or more
  uint32_t byte;  // at most the text's length
};
static_assert(sizeof(LyricWord) == 8, "LyricWord crosses the DLL boundary");
using LineWords = std::vector<LyricWord>;

// Clears tags and list and fills them from LRC text in the code page. The
// list comes out sorted by start time (lines with equal start keep the order
// of the file); end times follow from the next line, and the last line from
// the song length in ms (0 = unknown). Word times are taken out of the
// texts; the second form returns them, one entry per sentence, or none at
// all when no line has any.
LYRICCORE_API void ParseLrcText(const std::string& text, LrcTags& tags,
                                std::vector<TimeSentence>& list, int32_t songLengthMs);
LYRICCORE_API void ParseLrcText(const std::string& text, LrcTags& tags, std::vector<TimeSentence>& list,
                                std::vector<LineWords>& words, int32_t songLengthMs);

// The bytes of a lyric file in whatever encoding it is (DetectTextEncoding):
// the code page parsed as it is; UTF-8 and UTF-16 read as Unicode and their
// texts converted to the code page (characters it lacks show as '?'), each
// text cut to its field afterwards.
LYRICCORE_API void ParseLyricBytes(const std::string& bytes, const zl::CodePageConverter& codePage,
                                   LrcTags& tags, std::vector<TimeSentence>& list,
                                   std::vector<LineWords>& words, int32_t songLengthMs,
                                   zl::TextEncoding* encoding = nullptr);

// ReadWholeFile and ParseLyricBytes with the system code page. False, with
// everything empty, when the file cannot be read.
LYRICCORE_API bool ReadLyricFile(const std::string& path, LrcTags& tags, std::vector<TimeSentence>& list,
                                 std::vector<LineWords>& words, int32_t songLengthMs,
                                 zl::TextEncoding* encoding = nullptr);

// Reads a file's bytes unchanged. False, with `text` empty, when it cannot be opened.
LYRICCORE_API bool ReadWholeFile(const std::string& path, std::string& text);

// Creates or truncates the file and writes the text. False when the file cannot
// be created or not all of the text (or nothing) was written.
LYRICCORE_API bool WriteWholeFile(const std::string& path, const std::string& text);

// "mm:ss" or "mm:ss.xx"; negative times get a leading "-".
LYRICCORE_API std::string FormatLrcTime(int32_t ms);
