#include "LyricTexts.h"

#include <gtest/gtest.h>

#include "TestRecords.h"

using namespace zl;

namespace {
TimeSentence Line(int32_t start, int32_t end, const char* text) {
  TimeSentence s{};
  s.startTime = start;
  s.endTime = end;
  Set(s.text, text);
  return s;
}
}  // namespace

TEST(LyricTexts, ShiftedFileIsWrittenInTheEngineForm) {
  LrcTags tags{};
  Set(tags.ti, "Song");
  Set(tags.ar, "Singer");
  std::vector<TimeSentence> list = {Line(-1500, 0, "intro"), Line(0, 12000, ""), Line(12000, 30500, "one"),
                                    Line(30500, 63005, "two"), Line(63005, 7260000, "three")};
  EXPECT_EQ(AdjustedLrcText(tags, list),
            "[ti:Song]\r\n[ar:Singer]\r\n[al:]\r\n[by:]\r\n"
            "[-00:01.50]intro\r\n[00:00]\r\n[00:12]one\r\n[00:30.50]two\r\n[01:03]three\r\n");
  EXPECT_EQ(AdjustedLrcText(LrcTags{}, {}), "[ti:]\r\n[ar:]\r\n[al:]\r\n[by:]\r\n");
}

TEST(LyricTexts, TwoShiftsOfMinusFiveHundredAddUp) {
  std::vector<TimeSentence> list = {Line(1000, 2500, "a"), Line(2500, 4000, "b")};
  ShiftSentences(list, -500);
  ShiftSentences(list, -500);
  EXPECT_EQ(list[0].startTime, 0);
  EXPECT_EQ(list[0].endTime, 1500);
  EXPECT_EQ(list[1].startTime, 1500);
  EXPECT_EQ(list[1].endTime, 3000);
  EXPECT_EQ(AdjustedLrcText(LrcTags{}, list), "[ti:]\r\n[ar:]\r\n[al:]\r\n[by:]\r\n[00:00]a\r\n[00:01.50]b\r\n");
}

TEST(LyricTexts, ShiftsStayWithinThirtyTwoBits) {
  std::vector<TimeSentence> list = {Line(INT32_MAX - 10, INT32_MAX, "x"), Line(INT32_MIN + 5, 0, "y")};
  ShiftSentences(list, 100);
  EXPECT_EQ(list[0].startTime, INT32_MAX);
  ShiftSentences(list, -200);
  EXPECT_EQ(list[1].startTime, INT32_MIN);
}

TEST(LyricTexts, PlainTextIsEveryLineWithCrLf) {
  EXPECT_EQ(LyricPlainText({}), "");
  EXPECT_EQ(LyricPlainText({Line(0, 1, "a"), Line(1, 2, ""), Line(2, 3, "\xC4\xE3\xBA\xC3")}),
            "a\r\n\r\n\xC4\xE3\xBA\xC3\r\n");
}

TEST(LyricTexts, LinkEventTexts) {
  SongFileAtr s{};
  Set(s.finalTitle, "FT");
  Set(s.finalArtist, "FA");
  Set(s.recTitle, "RT");
  Set(s.recArtist, "RA");
  LrcTags tags{};
  Set(tags.ti, "ti");
  Set(tags.ar, "ar");
  EXPECT_EQ(LinkEventText(s, tags, "C:\\x.lrc"), "S:FT|AR:FA|REC_S:RT|REC_AR:RA|F_S:ti|F_AR:arF:C:\\x.lrc");
  EXPECT_EQ(UnlinkEventText(s), "S:FT|AR:FA|REC_S:RT|REC_AR:RAF:CANCEL");
}

TEST(LyricTexts, TraceLineAndEventLimits) {
  std::tm t = {};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 9;
  t.tm_hour = 14;
  t.tm_min = 3;
  t.tm_sec = 7;
  EXPECT_EQ(TraceLine("FindResFromLocal Start:", t, 45), "FindResFromLocal Start:2024-03-09 14:03:07.045->\n");
  EXPECT_EQ(CutEventName(std::string(70, 'n')), std::string(63, 'n'));
  EXPECT_EQ(CutEventText(std::string(10238, 't') + "\xC4\xE3"), std::string(10238, 't'));
  EXPECT_EQ(CutEventText("short"), "short");
}
