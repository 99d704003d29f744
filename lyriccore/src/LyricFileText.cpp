#include "LyricFileText.h"

#include "LyricTexts.h"

namespace zl {

std::string ShiftedLyricFile(const std::string& fileBytes, const LrcTags& tags, const std::vector<TimeSentence>& list,
                             const std::vector<LineWords>& words, const CodePageConverter& codePage) {
  const TextEncoding encoding = DetectTextEncoding(fileBytes);
  if (encoding == TextEncoding::CodePage) return AdjustedLrcText(tags, list, words);
  UnicodeLyricTags unicodeTags;
  std::vector<UnicodeLyricLine> lines;
  UnicodeLyricLines(UnicodeFileToUtf8(fileBytes, encoding), unicodeTags, lines);
  std::string utf8;
  if (lines.size() == list.size()) {
    utf8 += "[ti:" + unicodeTags.ti + "]\r\n";
    utf8 += "[ar:" + unicodeTags.ar + "]\r\n";
    utf8 += "[al:" + unicodeTags.al + "]\r\n";
    utf8 += "[by:" + unicodeTags.by + "]\r\n";
    for (size_t i = 0; i < lines.size(); ++i)
      utf8 += LrcLineText(list[i].startTime, lines[i].text, lines[i].words) + "\r\n";
  } else {
    utf8 = CodePageToUtf8(AdjustedLrcText(tags, list, words), codePage);
  }
  return Utf8ToUnicodeFile(utf8, encoding);
}

}  // namespace zl
