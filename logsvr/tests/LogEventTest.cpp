#include <gtest/gtest.h>

#include "LogEvent.h"

using namespace logsvr;

namespace {
EventIdentity Id() { return EventIdentity{"2.1.0", "U123", "extra line"}; }
}  // namespace

TEST(LogEvent, BodyHasNoTrailingBarForAnEmptyMessage) {
  EXPECT_EQ(EventBody("EVENT", "LYRIC", ""), "EVENT|S:LYRIC");
  EXPECT_EQ(EventBody("EVENT", "LYRIC", "O:<StartUp>"), "EVENT|S:LYRIC|O:<StartUp>");
}

TEST(LogEvent, SentAndLoggedLinesHaveTheirExactForm) {
  const std::string body = "EVENT|S:LYRIC|O:<StartUp>";
  EXPECT_EQ(FormatEvent(2, body, Id()), "2%09<SRC:2.1.0|ACT:EVENT|S:LYRIC|O:<StartUp>{extra line}|U:U123>");
  EXPECT_EQ(FormatEvent(9, body, Id()), "9%09<SRC:2.1.0|ACT:EVENT|S:LYRIC|O:<StartUp>{extra line}|U:U123>");
  EXPECT_EQ(FormatEvent(0, body, Id()), "|ACT:EVENT|S:LYRIC|O:<StartUp>|SRC:2.1.0");
  EXPECT_EQ(FormatEvent(2, "A|S:B", EventIdentity{}), "2%09<SRC:|ACT:A|S:B{}|U:>");
}

TEST(LogEvent, EncodingPadsTheInputNotTheOutput) {
  // Three characters + NUL + "==" = six bytes = eight characters.
  EXPECT_EQ(EncodeEventLine("abc"), "YWJjAD09");
  EXPECT_EQ(EncodeEventLine("ab"), "YWIA");          // "ab" NUL: no padding needed
  EXPECT_EQ(EncodeEventLine("abcd"), "YWJjZAA9");    // "abcd" NUL "="
  EXPECT_EQ(EncodeEventLine(""), "AD09");            // NUL "=="
  EXPECT_EQ(EncodeEventLine("\xFF\xFE"), "//4A");    // high bytes, '+' and '/' range
  for (const char* s : {"", "a", "ab", "abc", "abcd", "2%09<SRC:x>"}) {
    const std::string enc = EncodeEventLine(s);
    EXPECT_EQ(enc.size() % 4, 0u) << s;
    EXPECT_EQ(enc.find('='), std::string::npos) << s;
  }
}

TEST(LogEvent, UninstallActIgnoresCase) {
  EXPECT_TRUE(IsUninstallAct("UNINSTALL"));
  EXPECT_TRUE(IsUninstallAct("uninstall"));
  EXPECT_TRUE(IsUninstallAct("UnInstall"));
  EXPECT_FALSE(IsUninstallAct("UNINSTALL2"));
  EXPECT_FALSE(IsUninstallAct(""));
}

TEST(LogEvent, UninstallMessageNamesItsServerAndParts) {
  const UninstallMessage m = ParseUninstallMessage("http://10.1.2.3:81;2.0,U9,why,", "http://127.0.0.1:1");
  EXPECT_EQ(m.baseUrl, "http://10.1.2.3:81");
  EXPECT_EQ(m.version, "2.0");
  EXPECT_EQ(m.userId, "U9");
  EXPECT_EQ(m.extra, "why");
  EXPECT_EQ(FormatUninstallEvent(m), "2%09<SRC:2.0|ACT:UNINSTALL{why}|U:U9>");

  const UninstallMessage noSemi = ParseUninstallMessage("2.0,U9", "http://127.0.0.1:1");
  EXPECT_EQ(noSemi.baseUrl, "http://127.0.0.1:1");
  EXPECT_EQ(noSemi.version, "2.0");
  EXPECT_EQ(noSemi.userId, "U9");
  EXPECT_EQ(noSemi.extra, "");

  const UninstallMessage bare = ParseUninstallMessage("http://h;", "x");
  EXPECT_EQ(bare.baseUrl, "http://h");
  EXPECT_EQ(FormatUninstallEvent(bare), "2%09<SRC:|ACT:UNINSTALL{}|U:>");
}
