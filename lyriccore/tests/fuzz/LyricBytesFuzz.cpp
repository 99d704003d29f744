// Lyric files in any encoding (a byte-order mark, UTF-8 or not, the code
// page): they read into a sound lyric, and a timing shift writes a file in
// the same encoding that reads back as the same lyric, later by the shift.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "LyricFileText.h"
#include "lyriccore/LrcText.h"
#include "shared/GbkText.h"
#include "shared/TextEncoding.h"

namespace {

struct Lyric {
  zl::TextEncoding encoding;
  LrcTags tags;
  std::vector<TimeSentence> list;
  std::vector<LineWords> words;
};

Lyric Read(const std::string& bytes) {
  Lyric l;
  ParseLyricBytes(bytes, zl::GbkCodePage(), l.tags, l.list, l.words, 0, &l.encoding);
  return l;
}

// What FormatLrcTime keeps of a time: hundredths, cut toward zero.
int64_t Written(int64_t ms) { return ms < 0 ? -((-ms) / 10 * 10) : ms / 10 * 10; }

std::string TrimmedRight(const char* text) {
  std::string t = text;
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n')) t.pop_back();
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int32_t shift = in.ConsumeIntegralInRange<int32_t>(-100000, 100000);
  const std::string bytes = in.ConsumeRemainingBytesAsString();

  const Lyric first = Read(bytes);
  FUZZ_CHECK(first.encoding == zl::DetectTextEncoding(bytes));
  FUZZ_CHECK(first.words.empty() || first.words.size() == first.list.size());
  for (const TimeSentence& s : first.list) {
    FUZZ_CHECK(FuzzFieldTerminated(s.text, sizeof s.text));
    const size_t len = std::strlen(s.text);
    FUZZ_CHECK(zl::GbkCutLength(s.text, len, 259) == len);
  }
  if (first.list.empty()) return 0;

  std::vector<TimeSentence> later = first.list;
  for (TimeSentence& s : later) s.startTime = static_cast<int32_t>(std::max<int64_t>(
                                    INT32_MIN / 2, std::min<int64_t>(INT32_MAX / 2, int64_t{s.startTime} + shift)));
  const std::string written = zl::ShiftedLyricFile(bytes, first.tags, later, first.words, zl::GbkCodePage());
  const Lyric second = Read(written);
  const bool unicode = first.encoding != zl::TextEncoding::CodePage;
  if (zl::ByteOrderMarkLength(first.encoding) > 0) FUZZ_CHECK(second.encoding == first.encoding);
  if (first.encoding == zl::TextEncoding::Utf8)
    FUZZ_CHECK(second.encoding == first.encoding || second.encoding == zl::TextEncoding::CodePage);
  // NOTE: a code-page file whose rewritten lines happen to form valid UTF-8
  // would be read as UTF-8 next time; the file has no mark to say otherwise.
  if (!unicode && second.encoding != zl::TextEncoding::CodePage) return 0;

  FUZZ_CHECK(second.list.size() == later.size());
  for (size_t i = 0; i < later.size(); ++i) {
    FUZZ_CHECK(second.list[i].startTime == Written(later[i].startTime));
    // NOTE: the last line's text ends at its first line break when no tag
    // follows it, and a rewrite puts no tag after it: of a text that ran
    // over untimed lines only its first line comes back.
    const std::string before = TrimmedRight(first.list[i].text);
    const std::string after = TrimmedRight(second.list[i].text);
    if (i + 1 < later.size()) FUZZ_CHECK(after == before);
    else FUZZ_CHECK(before.compare(0, after.size(), after) == 0);
  }
  static const LineWords none;
  auto wordsOf = [](const Lyric& l, size_t i) -> const LineWords& { return i < l.words.size() ? l.words[i] : none; };
  for (size_t i = 0; i < later.size(); ++i) {
    // The last line may have lost its word marks with its later lines, and
    // blanks before them at its new end (above).
    if (i + 1 == later.size()) {
      FUZZ_CHECK(wordsOf(second, i).size() <= wordsOf(first, i).size());
      continue;
    }
    // A text cut at the field's end may end in a blank that the next read
    // trims: a word mark there stays at the (new) end.
    const size_t end = std::strlen(second.list[i].text);
    FUZZ_CHECK(wordsOf(second, i).size() == wordsOf(first, i).size());
    for (size_t k = 0; k < wordsOf(second, i).size(); ++k)
      FUZZ_CHECK(wordsOf(second, i)[k].byte == std::min<size_t>(wordsOf(first, i)[k].byte, end));
  }
  return 0;
}
