// LRC text as it comes from a file, a server or the user: the parsed lyric is
// sorted, every line ends at or after its start and where the next begins,
// every text fits its field without a split double-byte character, and word
// times point into their line's text.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "lyriccore/LrcText.h"
#include "shared/GbkText.h"

namespace {

void CheckText(const char* field, size_t size) {
  FUZZ_CHECK(FuzzFieldTerminated(field, size));
  const size_t len = std::strlen(field);
  FUZZ_CHECK(zl::GbkCutLength(field, len, size - 1) == len);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int32_t lengthMs = in.ConsumeIntegral<int32_t>();
  const std::string text = in.ConsumeRemainingBytesAsString();

  LrcTags tags;
  std::vector<TimeSentence> list;
  std::vector<LineWords> words;
  ParseLrcText(text, tags, list, words, lengthMs);

  // Word times: none, or one entry per sentence, inside the text and in the
  // order of the text.
  FUZZ_CHECK(words.empty() || words.size() == list.size());
  for (size_t i = 0; i < words.size(); ++i) {
    uint32_t last = 0;
    for (const LyricWord& w : words[i]) {
      FUZZ_CHECK(w.atMs >= 0);
      FUZZ_CHECK(w.byte >= last && w.byte <= std::strlen(list[i].text));
      last = w.byte;
    }
  }

  for (const char* tag : {tags.ar, tags.ti, tags.al, tags.by}) CheckText(tag, sizeof tags.ar);
  for (size_t i = 0; i < list.size(); ++i) {
    const TimeSentence& s = list[i];
    CheckText(s.text, sizeof s.text);
    FUZZ_CHECK(s.endTime >= s.startTime);
    if (i + 1 < list.size()) {
      FUZZ_CHECK(s.startTime <= list[i + 1].startTime);
      FUZZ_CHECK(s.endTime == list[i + 1].startTime);
    }
    const size_t len = std::strlen(s.text);
    if (len > 0) {
      const char first = s.text[0];
      FUZZ_CHECK(first != ' ' && first != '\t' && first != '\r' && first != '\n');
    }
  }

  // The parser keeps no state: the same text gives the same lyric.
  LrcTags again;
  std::vector<TimeSentence> list2;
  ParseLrcText(text, again, list2, lengthMs);
  FUZZ_CHECK(std::memcmp(&again, &tags, sizeof tags) == 0);
  FUZZ_CHECK(list2.size() == list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    FUZZ_CHECK(list2[i].startTime == list[i].startTime && list2[i].endTime == list[i].endTime);
    FUZZ_CHECK(std::strcmp(list2[i].text, list[i].text) == 0);
  }
  return 0;
}
