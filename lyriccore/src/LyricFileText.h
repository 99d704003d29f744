#pragma once
// Lyric files in Unicode: parsing them for display, and rewriting a file
// after a timing shift in its own encoding without losing what the code page
// cannot show.
#include <cstdint>
#include <string>
#include <vector>

#include "lyriccore/LrcText.h"
#include "shared/TextEncoding.h"

// UTF-8 text parsed as ParseLrcText does, its texts and tags converted to
// the code page before they are cut to their fields.
void ParseLrcUtf8(const std::string& utf8, const zl::CodePageConverter& codePage, LrcTags& tags,
                  std::vector<TimeSentence>& list, std::vector<LineWords>& words, int32_t songLengthMs);

// A line as a Unicode file has it: whole (not cut), word marks taken out.
struct UnicodeLyricLine {
  int32_t startTime = 0;
  std::string text;  // UTF-8
  LineWords words;   // bytes of `text`
};
struct UnicodeLyricTags {
  std::string ti, ar, al, by;  // UTF-8, whole
};

// The lines of UTF-8 lyric text in the order ParseLrcUtf8 gives its
// sentences (the same parse, so line i is sentence i).
void UnicodeLyricLines(const std::string& utf8, UnicodeLyricTags& tags, std::vector<UnicodeLyricLine>& lines);

namespace zl {

// The file a timing shift writes, in the encoding (and with the byte-order
// mark) of the file's current bytes `fileBytes`: the ti, ar, al and by tags,
// then one "[time]text" line per sentence with its word marks, each ending
// in CR LF. A code-page file gets the shown texts as before. A Unicode file
// keeps its own texts (nothing is replaced by '?'), with the sentences'
// times, as long as its lines still match the sentences; a file that changed
// since it was read gets the shown texts converted back.
std::string ShiftedLyricFile(const std::string& fileBytes, const LrcTags& tags, const std::vector<TimeSentence>& list,
                             const std::vector<LineWords>& words, const CodePageConverter& codePage);

}  // namespace zl
