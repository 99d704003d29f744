// Lyric files in the encodings users have them in, enhanced lines with word
// times, and the rewrite of a timing shift in each encoding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LyricFileText.h"
#include "lyriccore/LrcText.h"
#include "shared/TextEncoding.h"

using zl::TextEncoding;

namespace {

// 晴天 and 故事 in UTF-8 and in GBK (narrow literals are GBK at run time, so
// Chinese test texts are spelled as bytes).
const std::string kSunnyUtf8 = "\xE6\x99\xB4\xE5\xA4\xA9";
const std::string kSunnyGbk = "\xC7\xE7\xCC\xEC";
const std::string kStoryUtf8 = "\xE6\x95\x85\xE4\xBA\x8B";
const std::string kStoryGbk = "\xB9\xCA\xCA\xC2";

struct Read {
  TextEncoding encoding;
  LrcTags tags;
  std::vector<TimeSentence> list;
  std::vector<LineWords> words;
};

Read Parse(const std::string& bytes, int32_t lengthMs = 0) {
  Read r;
  ParseLyricBytes(bytes, zl::GbkCodePage(), r.tags, r.list, r.words, lengthMs, &r.encoding);
  return r;
}

std::string Utf16(const std::string& utf8, bool bigEndian) {
  return zl::Utf8ToUnicodeFile(utf8, bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le);
}

std::string Shift(const std::string& file, int32_t ms) {
  Read r = Parse(file);
  for (TimeSentence& s : r.list) s.startTime += ms, s.endTime += ms;
  return zl::ShiftedLyricFile(file, r.tags, r.list, r.words, zl::GbkCodePage());
}

}  // namespace

TEST(LyricEncoding, EveryEncodingShowsTheSameLyric) {
  const std::string utf8 = "[ti:" + kSunnyUtf8 + "]\r\n[00:01.00]" + kStoryUtf8 + "\r\n[00:02.50]x\r\n";
  const std::vector<std::pair<std::string, TextEncoding>> files = {
      {"[ti:" + kSunnyGbk + "]\r\n[00:01.00]" + kStoryGbk + "\r\n[00:02.50]x\r\n", TextEncoding::CodePage},
      {utf8, TextEncoding::Utf8},
      {"\xEF\xBB\xBF" + utf8, TextEncoding::Utf8Bom},
      {Utf16(utf8, false), TextEncoding::Utf16Le},
      {Utf16(utf8, true), TextEncoding::Utf16Be},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(zl::TextEncodingName(f.second));
    const Read r = Parse(f.first, 60000);
    EXPECT_EQ(r.encoding, f.second);
    EXPECT_STREQ(r.tags.ti, kSunnyGbk.c_str());
    ASSERT_EQ(r.list.size(), 2u);
    EXPECT_STREQ(r.list[0].text, kStoryGbk.c_str());
    EXPECT_EQ(r.list[1].startTime, 2500);
    EXPECT_EQ(r.list[1].endTime, 60000);
  }
}

TEST(LyricEncoding, GbkIsNotMistakenForUtf8) {
  // A typical GBK lyric: its lead and trail bytes do not line up as UTF-8.
  const std::string gbk =
      "[ti:\xC7\xE7\xCC\xEC]\r\n[ar:\xD6\xDC\xBD\xDC\xC2\xD7]\r\n"
      "[00:01.00]\xB9\xCA\xCA\xC2\xB5\xC4\xD0\xA1\xBB\xC6\xBB\xA8\r\n"
      "[00:05.00]\xB4\xD3\xB3\xF6\xC9\xFA\xC4\xC7\xC4\xEA\xBE\xCD\xC6\xAE\xD7\xC5\r\n";
  EXPECT_EQ(Parse(gbk).encoding, TextEncoding::CodePage);
  // GBK whose first characters happen to be valid UTF-8 sequences (C4 A3,
  // D0 A1), then one that is not: still GBK, shown byte for byte.
  const std::string mixed = "[00:01.00]\xC4\xA3\xD0\xA1" + kSunnyGbk + "\r\n";
  const Read r = Parse(mixed);
  EXPECT_EQ(r.encoding, TextEncoding::CodePage);
  EXPECT_EQ(std::string(r.list[0].text), "\xC4\xA3\xD0\xA1" + kSunnyGbk);
  // Broken UTF-8 falls back to the code page: the bytes as they are.
  EXPECT_EQ(Parse("[00:01]" + kSunnyUtf8.substr(0, 5)).encoding, TextEncoding::CodePage);
}

TEST(LyricEncoding, ConvertedTextsAreCutAfterConversion) {
  // 130 characters: 390 bytes in UTF-8 but 260 in GBK, cut whole at 258.
  std::string line;
  for (int i = 0; i < 65; ++i) line += kSunnyUtf8;
  const Read r = Parse("[00:01]" + line + "\n[ar:" + line + "]");
  ASSERT_EQ(r.list.size(), 1u);
  EXPECT_EQ(std::string(r.list[0].text).size(), 258u);
  EXPECT_EQ(std::string(r.list[0].text).substr(0, 4), kSunnyGbk);
  EXPECT_EQ(std::string(r.tags.ar).size(), 98u);
  // A character GBK lacks shows as '?'.
  EXPECT_STREQ(Parse("[00:01]a\xF0\x9F\x98\x80" "b").list[0].text, "a?b");
}

TEST(LyricEncoding, ShiftRoundTripsByteForByteInEachEncoding) {
  const std::string utf8 =
      "[ti:" + kSunnyUtf8 + "]\r\n[ar:A]\r\n[al:]\r\n[by:]\r\n[00:01]" + kStoryUtf8 +
      "\r\n[00:02.50]<00:02.50>x <00:03.10>y\r\n";
  const std::string gbk = "[ti:" + kSunnyGbk + "]\r\n[ar:A]\r\n[al:]\r\n[by:]\r\n[00:01]" + kStoryGbk +
                          "\r\n[00:02.50]<00:02.50>x <00:03.10>y\r\n";
  for (const std::string& file : {gbk, utf8, "\xEF\xBB\xBF" + utf8, Utf16(utf8, false), Utf16(utf8, true)}) {
    SCOPED_TRACE(zl::TextEncodingName(zl::DetectTextEncoding(file)));
    const std::string later = Shift(file, 500);
    EXPECT_EQ(zl::DetectTextEncoding(later), zl::DetectTextEncoding(file));
    EXPECT_NE(later, file);
    EXPECT_EQ(Shift(later, -500), file);
  }
  // Written in the format of a shift ("[00:01]" for a whole second), the
  // file comes back to its bytes; the shifted times and word times, as the
  // UTF-16 file now says them:
  const std::string shifted = zl::UnicodeFileToUtf8(Shift(Utf16(utf8, true), 500), TextEncoding::Utf16Be);
  EXPECT_NE(shifted.find("[00:01.50]" + kStoryUtf8 + "\r\n[00:03]<00:03>x <00:03.60>y\r\n"), std::string::npos);
}

TEST(LyricEncoding, ShiftKeepsWhatTheCodePageCannotShow) {
  const std::string smile = "\xF0\x9F\x98\x80";
  const std::string file = "\xEF\xBB\xBF[ti:]\r\n[ar:]\r\n[al:]\r\n[by:]\r\n[00:01]a" + smile + "\r\n";
  EXPECT_STREQ(Parse(file).list[0].text, "a?");
  EXPECT_EQ(Shift(Shift(file, 1000), -1000), file);
  // Lines no longer matching the sentences (the file changed since): the
  // shown text goes back, still in the file's encoding.
  Read r = Parse(file);
  r.list.push_back(r.list[0]);
  const std::string changed = zl::ShiftedLyricFile(file, r.tags, r.list, r.words, zl::GbkCodePage());
  EXPECT_EQ(changed.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(changed.find("[00:01]a?\r\n[00:01]a?\r\n"), std::string::npos);
}

TEST(EnhancedLrc, WordTimesLeaveTheTextAndCountFromTheLine) {
  Read r = Parse("[offset:100][00:12.00]<00:12.00>Hello <00:12.50>small <00:13.10>world<00:14.00>\n"
                 "[00:15.00]plain <b> and <3 stay\n");
  ASSERT_EQ(r.list.size(), 2u);
  EXPECT_STREQ(r.list[0].text, "Hello small world");
  EXPECT_EQ(r.list[0].startTime, 12100);
  ASSERT_EQ(r.words.size(), 2u);
  const LineWords& w = r.words[0];
  ASSERT_EQ(w.size(), 4u);
  EXPECT_EQ(w[0].atMs, 0);
  EXPECT_EQ(w[0].byte, 0u);
  EXPECT_EQ(w[1].atMs, 500);
  EXPECT_EQ(w[1].byte, 6u);
  EXPECT_EQ(w[2].atMs, 1100);
  EXPECT_EQ(w[2].byte, 12u);
  EXPECT_EQ(w[3].atMs, 2000);
  EXPECT_EQ(w[3].byte, 17u);
  EXPECT_TRUE(r.words[1].empty());
  EXPECT_STREQ(r.list[1].text, "plain <b> and <3 stay");
  // Without word times anywhere, no word list at all.
  EXPECT_TRUE(Parse("[00:01]a\n[00:02]b\n").words.empty());
}

TEST(EnhancedLrc, OddWordTimesAreKeptAsWrittenWithinBounds) {
  // Out of order, before the line, far beyond it; marks at the edges bare
  // blanks that are trimmed; a repeated line shares its words.
  Read r = Parse("[00:02.00][00:09.00]<00:05.00> late <00:01.00>early <59:00.00>far <00:03.00>\n");
  ASSERT_EQ(r.list.size(), 2u);
  EXPECT_STREQ(r.list[0].text, "late early far");
  const LineWords& w = r.words[0];
  ASSERT_EQ(w.size(), 4u);
  EXPECT_EQ(w[0].atMs, 3000);
  EXPECT_EQ(w[0].byte, 0u);
  EXPECT_EQ(w[1].atMs, 0);  // before the line: from its start
  EXPECT_EQ(w[1].byte, 5u);
  EXPECT_EQ(w[2].atMs, 59 * 60000 - 2000);
  EXPECT_EQ(w[3].byte, 14u);
  ASSERT_EQ(r.words.size(), 2u);
  EXPECT_EQ(r.words[1].size(), 4u);
  // The 259-byte cut applies to the shown text; words past it sit at its end.
  const Read longer = Parse("[00:01]" + std::string(300, 'a') + "<00:02>b");
  EXPECT_EQ(std::string(longer.list[0].text).size(), 259u);
  EXPECT_EQ(longer.words[0][0].byte, 259u);
}
