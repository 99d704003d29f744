#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lyriccore/LrcText.h"

namespace {

struct Parsed {
  LrcTags tags;
  std::vector<TimeSentence> list;
};

Parsed Parse(const std::string& text, int32_t lengthMs = 0) {
  Parsed p;
  ParseLrcText(text, p.tags, p.list, lengthMs);
  return p;
}

std::vector<int32_t> Starts(const Parsed& p) {
  std::vector<int32_t> v;
  for (const auto& s : p.list) v.push_back(s.startTime);
  return v;
}

std::vector<std::string> Texts(const Parsed& p) {
  std::vector<std::string> v;
  for (const auto& s : p.list) v.push_back(s.text);
  return v;
}

int32_t StartOf(const std::string& tag) {
  const Parsed p = Parse(tag + "x");
  return p.list.size() == 1 ? p.list[0].startTime : -999999;
}

using V = std::vector<int32_t>;
using S = std::vector<std::string>;

}  // namespace

TEST(LrcParse, SeveralTimeTagsShareOneText) {
  const Parsed p = Parse("[00:12.00][00:30.00]Hello");
  EXPECT_EQ(Starts(p), (V{12000, 30000}));
  EXPECT_EQ(Texts(p), (S{"Hello", "Hello"}));
}

TEST(LrcParse, TimeTagWithNothingAfterItGivesAnEmptyLine) {
  const Parsed p = Parse("[00:05.00]");
  ASSERT_EQ(p.list.size(), 1u);
  EXPECT_EQ(p.list[0].startTime, 5000);
  EXPECT_STREQ(p.list[0].text, "");
}

TEST(LrcParse, FractionIsCutOrPaddedToMilliseconds) {
  EXPECT_EQ(StartOf("[00:01.5]"), 1500);
  EXPECT_EQ(StartOf("[00:01.50]"), 1500);
  EXPECT_EQ(StartOf("[00:01.500]"), 1500);
  EXPECT_EQ(StartOf("[00:01.5678]"), 1567);
  EXPECT_EQ(StartOf("[00:01.05]"), 1050);
  EXPECT_EQ(StartOf("[01:02:03]"), 62030);  // three groups, whatever the separators
  EXPECT_EQ(StartOf("[2:3]"), 123000);
  EXPECT_EQ(StartOf("[125:00]"), 7500000);
}

TEST(LrcParse, SeparatorRunsAndEmptyGroupsAreSkipped) {
  EXPECT_EQ(StartOf("[00::01..5]"), 1500);
  EXPECT_EQ(StartOf("[00:01:]"), 1000);
  EXPECT_EQ(StartOf("[0:.:1]"), 1000);
  EXPECT_EQ(StartOf("[:00:01]"), -999999);  // ':' does not open a tag
  EXPECT_EQ(StartOf("[00.01]"), 1000);
}

TEST(LrcParse, NegativeTimeSortsFirst) {
  const Parsed p = Parse("[00:02.00]b\n[-00:01.00]x\n");
  EXPECT_EQ(Starts(p), (V{-1000, 2000}));
  EXPECT_EQ(Texts(p), (S{"x", "b"}));
}

TEST(LrcParse, BracketsThatAreNotTimeTagsAreIgnored) {
  // One group, four groups, a letter, a blank, an empty minus.
  for (const char* text : {"[12]x", "[1:2:3:4]x", "[00:0a]x", "[00: 01]x", "[-]x", "[0-1:2]x", "[--1:2]x"}) {
    EXPECT_TRUE(Parse(text).list.empty()) << text;
  }
}

TEST(LrcParse, OnlyLowercaseLettersAndDigitsOpenATag) {
  const Parsed upper = Parse("[TI:Song][AR:Singer]");
  EXPECT_STREQ(upper.tags.ti, "");
  EXPECT_STREQ(upper.tags.ar, "");

  const Parsed mixed = Parse("[tI:Song][aR:Singer][aL:Disc][bY:Me]");
  EXPECT_STREQ(mixed.tags.ti, "Song");
  EXPECT_STREQ(mixed.tags.ar, "Singer");
  EXPECT_STREQ(mixed.tags.al, "Disc");
  EXPECT_STREQ(mixed.tags.by, "Me");
}

TEST(LrcParse, TagValuesAreUntrimmedAndTheLastOneWins) {
  const Parsed p = Parse("[ti: first ][ti: second ]\n[ar:]");
  EXPECT_STREQ(p.tags.ti, " second ");
  EXPECT_STREQ(p.tags.ar, "");
}

TEST(LrcParse, TagsAreClearedBeforeEachParse) {
  LrcTags tags;
  std::vector<TimeSentence> list;
  ParseLrcText("[ti:old][00:01]a", tags, list, 0);
  ParseLrcText("[ar:new]", tags, list, 0);
  EXPECT_STREQ(tags.ti, "");
  EXPECT_STREQ(tags.ar, "new");
  EXPECT_TRUE(list.empty());
}

TEST(LrcParse, OffsetAppliesOnlyToLinesAfterIt) {
  EXPECT_EQ(Starts(Parse("[offset:500]\n[00:01.00]a")), (V{1500}));
  EXPECT_EQ(Starts(Parse("[00:01.00]a\n[offset:500]\n[00:02.00]b")), (V{1000, 2500}));
  EXPECT_EQ(Starts(Parse("[00:01.00]a\n[offset:500]")), (V{1000}));
  EXPECT_EQ(Starts(Parse("[offset:-300][00:01]a")), (V{700}));
  EXPECT_EQ(Starts(Parse("[offset:  +250][00:01]a")), (V{1250}));
  EXPECT_EQ(Starts(Parse("[offset:abc][00:01]a")), (V{1000}));
  EXPECT_EQ(Starts(Parse("[OFFSET:100][00:01]a")), (V{1000}));  // '[O' opens no tag
  EXPECT_EQ(Starts(Parse("[oFFset:100][00:01]a")), (V{1100}));
}

TEST(LrcParse, TextRunsOnOverUntimedLinesUpToTheNextTag) {
  const Parsed p = Parse("[00:01]line one\nline two\n[00:03]x");
  EXPECT_EQ(Texts(p), (S{"line one\nline two", "x"}));

  const Parsed crlf = Parse("[00:01]line one\r\nline two\r\n[00:03]x\r\n");
  EXPECT_EQ(Texts(crlf), (S{"line one\r\nline two", "x"}));
}

TEST(LrcParse, WithoutAFollowingTagTheTextEndsAtTheLineEnd) {
  const Parsed p = Parse("[00:01]last line\nplain words after\n");
  EXPECT_EQ(Texts(p), (S{"last line"}));
}

TEST(LrcParse, TextIsTrimmedOfBlanksTabsAndLineBreaks) {
  const Parsed p = Parse("[00:01] \t inner  text \t\r\n[00:02]\r\n");
  EXPECT_EQ(Texts(p), (S{"inner  text", ""}));
}

TEST(LrcParse, BracketsInsideARunAreSkipped) {
  const Parsed p = Parse("[00:01][ar:hidden][00:02]text");
  EXPECT_EQ(Starts(p), (V{1000, 2000}));
  EXPECT_EQ(Texts(p), (S{"text", "text"}));
  EXPECT_STREQ(p.tags.ar, "");
}

TEST(LrcParse, BracketsThatOpenNoTagBelongToTheText) {
  const Parsed p = Parse("[00:01][Chorus] sing [x]\n[00:02]y");
  EXPECT_EQ(Texts(p), (S{"[Chorus] sing [x]", "y"}));
}

TEST(LrcParse, TagLikeBracketInTextEndsTheText) {
  // '[a' opens a tag even when it is not one: the text stops there.
  const Parsed p = Parse("[00:01]one [abc] two\n[00:02]y");
  EXPECT_EQ(Texts(p), (S{"one", "y"}));
}

TEST(LrcParse, UnclosedBracketEndsTheParseKeepingWhatWasFound) {
  EXPECT_EQ(Texts(Parse("[00:01]a\n[00:02]b\n[00:03 c")), (S{"a", "b"}));
  // Unclosed inside a run: the line is kept without text.
  const Parsed run = Parse("[00:01][00:02");
  EXPECT_EQ(Starts(run), (V{1000}));
  EXPECT_EQ(Texts(run), (S{""}));
}

TEST(LrcParse, TextThatIsNotLrcGivesNothing) {
  EXPECT_TRUE(Parse("").list.empty());
  EXPECT_TRUE(Parse("just some words\nand more [").list.empty());
  EXPECT_TRUE(Parse("[").list.empty());
  EXPECT_TRUE(Parse("]]]][[[[").list.empty());
}

TEST(LrcParse, TextIsCutAt259BytesWithoutSplittingAChineseCharacter) {
  const std::string ascii(300, 'a');
  const Parsed p = Parse("[00:01]" + ascii);
  ASSERT_EQ(p.list.size(), 1u);
  EXPECT_EQ(std::string(p.list[0].text), ascii.substr(0, 259));

  // 258 ASCII bytes then a GBK pair would leave half a character at byte 259.
  const std::string mixed = std::string(258, 'b') + "\xC4\xE3" + "tail";
  const Parsed q = Parse("[00:01]" + mixed);
  EXPECT_EQ(std::string(q.list[0].text), std::string(258, 'b'));

  const std::string fits = std::string(257, 'c') + "\xC4\xE3" + "tail";
  const Parsed r = Parse("[00:01]" + fits);
  EXPECT_EQ(std::string(r.list[0].text), std::string(257, 'c') + "\xC4\xE3");
}

TEST(LrcParse, TagsAreCutAt99Bytes) {
  const Parsed p = Parse("[ti:" + std::string(150, 't') + "][ar:" + std::string(98, 'a') + "\xC4\xE3]");
  EXPECT_EQ(std::string(p.tags.ti), std::string(99, 't'));
  EXPECT_EQ(std::string(p.tags.ar), std::string(98, 'a'));
}

TEST(LrcParse, EqualStartTimesKeepTheOrderOfTheFile) {
  const Parsed p = Parse("[00:05]first\n[00:01]zero\n[00:05]second\n[00:05]third\n");
  EXPECT_EQ(Texts(p), (S{"zero", "first", "second", "third"}));
}

TEST(LrcParse, EndTimeOfEachLineIsTheNextStart) {
  const Parsed p = Parse("[00:03]c\n[00:01]a\n[00:02]b\n", 0);
  ASSERT_EQ(p.list.size(), 3u);
  EXPECT_EQ(p.list[0].endTime, 2000);
  EXPECT_EQ(p.list[1].endTime, 3000);
}

TEST(LrcParse, SingleLineEndsAtTheSongEndOrAtItsOwnStart) {
  EXPECT_EQ(Parse("[00:10.00]x", 200000).list[0].endTime, 200000);
  EXPECT_EQ(Parse("[00:10.00]x", 0).list[0].endTime, 10000);
  EXPECT_EQ(Parse("[00:10.00]x", 10000).list[0].endTime, 10000);
}

TEST(LrcParse, LastOfSeveralLinesLastsAsLongAsTheOneBefore) {
  const Parsed withLength = Parse("[00:01]a\n[00:04]b\n", 200000);
  EXPECT_EQ(withLength.list[1].endTime, 200000);

  const Parsed noLength = Parse("[00:01]a\n[00:04]b\n", 0);
  EXPECT_EQ(noLength.list[1].endTime, 7000);

  const Parsed pastEnd = Parse("[00:01]a\n[00:04]b\n", 3000);  // song shorter than the lyric
  EXPECT_EQ(pastEnd.list[1].endTime, 7000);
}

TEST(LrcParse, AbsurdNumbersSaturateInsteadOfOverflowing) {
  const Parsed p = Parse("[offset:99999999999999999999][99999999999999999999:99999999999999999999]x\n"
                         "[offset:-99999999999999999999][-99999999999999999999:00]y");
  ASSERT_EQ(p.list.size(), 2u);
  EXPECT_EQ(p.list[0].startTime, INT32_MIN);
  EXPECT_EQ(p.list[1].startTime, INT32_MAX);
  EXPECT_EQ(p.list[1].endTime, INT32_MAX);
}

TEST(LrcParse, TextBytesAreKeptUnchanged) {
  // GBK bytes of a Chinese line stay as they are.
  const Parsed p = Parse("[00:01]\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7");
  EXPECT_STREQ(p.list[0].text, "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7");
}
