#include <gtest/gtest.h>

#include <string>

#include "shared/ConfigRules.h"

using namespace zl;

TEST(ConfigPaths, FilesBelowTheHomeWithoutADoubledSeparator) {
  EXPECT_EQ(ConfigImagePathFromHome("C:\\Program Files\\ZoLyric"),
            "C:\\Program Files\\ZoLyric\\face\\zoc.img");
  EXPECT_EQ(PublishFilePathFromHome("D:\\z"), "D:\\z\\face\\pub.img");
}

TEST(ConfigKeys, IndexedAndSignatureKeys) {
  EXPECT_EQ(IndexedConfigKey("advert", 0), "advert0");
  EXPECT_EQ(IndexedConfigKey("star", 12), "star12");
  EXPECT_EQ(FlashSignatureKey(0, 1), "flash0signature1");
  EXPECT_EQ(FlashSignatureKey(3, 2), "flash3signature2");
}

TEST(ConfigKeys, IndexMustLieBelowTheCount) {
  EXPECT_TRUE(IsConfigIndexAllowed(0, 1));
  EXPECT_TRUE(IsConfigIndexAllowed(1, 2));
  EXPECT_FALSE(IsConfigIndexAllowed(2, 2));
  EXPECT_FALSE(IsConfigIndexAllowed(0, 0));
  EXPECT_FALSE(IsConfigIndexAllowed(-1, 5));
}

TEST(ConfigKeys, FlashPairsRotateWithTheCounter) {
  EXPECT_EQ(FlashPairForCall(1, 3), 1);
  EXPECT_EQ(FlashPairForCall(2, 3), 2);
  EXPECT_EQ(FlashPairForCall(3, 3), 0);
  EXPECT_EQ(FlashPairForCall(4, 3), 1);
  EXPECT_EQ(FlashPairForCall(7, 1), 0);
  EXPECT_EQ(FlashPairForCall(7, 0), 0);
}

TEST(ConfigSignature, SixtyFourBitNumberKeptInThirtyTwoBits) {
  uint32_t w = 99;
  EXPECT_TRUE(SignatureFromText("123456", w));
  EXPECT_EQ(w, 123456u);
  EXPECT_TRUE(SignatureFromText("4294967297", w));  // 2^32 + 1
  EXPECT_EQ(w, 1u);
  EXPECT_TRUE(SignatureFromText("3000000000", w));
  EXPECT_EQ(w, 3000000000u);
  EXPECT_TRUE(SignatureFromText("-1", w));
  EXPECT_EQ(w, 0xFFFFFFFFu);
  w = 99;
  EXPECT_FALSE(SignatureFromText("", w));
  EXPECT_EQ(w, 99u);
}

TEST(ConfigDefaults, P2PServerDefaultNeedsTenBytes) {
  EXPECT_STREQ(kDefaultP2PServer, "ZoSvr.exe");
  EXPECT_TRUE(DefaultP2PServerFits(10));
  EXPECT_TRUE(DefaultP2PServerFits(64));
  EXPECT_FALSE(DefaultP2PServerFits(9));
}

TEST(ProgramCommand, FolderAndCommandJoinedOnce) {
  EXPECT_EQ(BuildProgramCommandLine("ClipView.exe WinampMTV", "C:\\ZoLyric"),
            "C:\\ZoLyric\\ClipView.exe WinampMTV");
  EXPECT_EQ(BuildProgramCommandLine("a.exe", "C:\\ZoLyric\\"), "C:\\ZoLyric\\a.exe");
  EXPECT_EQ(BuildProgramCommandLine("a.exe", "C:/ZoLyric/"), "C:/ZoLyric/a.exe");
  EXPECT_EQ(BuildProgramCommandLine("a.exe x", ""), "a.exe x");
  EXPECT_EQ(BuildProgramCommandLine("a.exe x", nullptr), "a.exe x");
  // "運" ends in the byte of '\\' but is no separator.
  EXPECT_EQ(BuildProgramCommandLine("a.exe", "C:\\好運"), "C:\\好運\\a.exe");
  EXPECT_EQ(BuildProgramCommandLine("a.exe", "C:\\好運\\"), "C:\\好運\\a.exe");
}

TEST(ProgramCommand, ProgramPathWithBlanksIsQuoted) {
  EXPECT_EQ(BuildProgramCommandLine("tagprobe.exe S \"a b.tmp\" \"c.mp3\"", "C:\\Program Files\\ZoLyric"),
            "\"C:\\Program Files\\ZoLyric\\tagprobe.exe\" S \"a b.tmp\" \"c.mp3\"");
  EXPECT_EQ(BuildProgramCommandLine("ZoSvr.exe", "C:\\My Home\\"), "\"C:\\My Home\\ZoSvr.exe\"");
  EXPECT_EQ(BuildProgramCommandLine("\"My Tool.exe\" -x", "C:\\z"), "\"C:\\z\\My Tool.exe\" -x");
  EXPECT_EQ(BuildProgramCommandLine("\"tool.exe\" -x", "C:\\z"), "C:\\z\\tool.exe -x");
}

TEST(BrowserLinks, FieldsAppendedUnescaped) {
  EXPECT_EQ(BuildLinkUrl("http://ad.example/go?", "Song A", "Artist", "Album"),
            "http://ad.example/go?s=Song A&a=Artist&b=Album");
  EXPECT_EQ(BuildLinkUrl("p", nullptr, "", nullptr), "ps=&a=&b=");
  EXPECT_EQ(BrowserWindowTitle("http://x/"), "http://x/ - Microsoft Internet Explorer");
}

TEST(BrowserLinks, OnlyWebAddressesGoToTheShell) {
  EXPECT_TRUE(IsWebAddress("http://x"));
  EXPECT_TRUE(IsWebAddress("HTTPS://x"));
  EXPECT_FALSE(IsWebAddress("C:\\Windows\\notepad.exe"));
  EXPECT_FALSE(IsWebAddress("file:///c:/x"));
  EXPECT_FALSE(IsWebAddress("http:/"));
  EXPECT_FALSE(IsWebAddress(""));
}

TEST(PublishAge, ThirtyDayMonths) {
  const CalendarDate today{2024, 3, 5};
  EXPECT_EQ(PublishAgeDays({2024, 3, 5}, today), 0);
  EXPECT_EQ(PublishAgeDays({2024, 2, 25}, today), 10);  // 30 + 5 - 25
  EXPECT_EQ(PublishAgeDays({2024, 2, 24}, today), 11);
  EXPECT_EQ(PublishAgeDays({2023, 12, 31}, {2024, 1, 1}), 0);  // (12 - 11) * 30 + 1 - 31
  EXPECT_EQ(PublishAgeDays({2024, 3, 6}, today), -1);
  EXPECT_EQ(PublishAgeDays({2025, 3, 5}, today), -360);
}

TEST(PublishAge, RecentFromZeroToTenDays) {
  EXPECT_TRUE(IsRecentPublishAge(0));
  EXPECT_TRUE(IsRecentPublishAge(10));
  EXPECT_FALSE(IsRecentPublishAge(11));
  EXPECT_FALSE(IsRecentPublishAge(-1));
}

TEST(UserFile, TwoLinesEndingInCrLf) {
  std::string v;
  EXPECT_TRUE(ParseUserFileLine("10234\r\nsecret\r\n", 1, v));
  EXPECT_EQ(v, "10234");
  EXPECT_TRUE(ParseUserFileLine("10234\r\nsecret\r\n", 2, v));
  EXPECT_EQ(v, "secret");
  EXPECT_TRUE(ParseUserFileLine("7\rsecond", 2, v));  // a bare CR ends a line too
  EXPECT_EQ(v, "second");
  EXPECT_TRUE(ParseUserFileLine("7\nsecond\n", 2, v));
  EXPECT_EQ(v, "second");
  EXPECT_TRUE(ParseUserFileLine("7", 1, v));
  EXPECT_EQ(v, "7");
}

TEST(UserFile, FirstLineMustBeAPositiveNumber) {
  std::string v = "junk";
  EXPECT_FALSE(ParseUserFileLine("0\r\nx\r\n", 1, v));
  EXPECT_EQ(v, "");
  EXPECT_FALSE(ParseUserFileLine("abc\r\nx\r\n", 1, v));
  EXPECT_FALSE(ParseUserFileLine("-4\r\nx\r\n", 1, v));
  EXPECT_FALSE(ParseUserFileLine("", 1, v));
  EXPECT_TRUE(ParseUserFileLine("12abc\r\n", 1, v));  // atoi decides, the text is kept
  EXPECT_EQ(v, "12abc");
}

TEST(UserFile, SecondLineMustHoldSomething) {
  std::string v = "junk";
  EXPECT_FALSE(ParseUserFileLine("5\r\n\r\n", 2, v));
  EXPECT_EQ(v, "");
  EXPECT_FALSE(ParseUserFileLine("5\r\n", 2, v));
  EXPECT_FALSE(ParseUserFileLine("5\r", 2, v));
  EXPECT_FALSE(ParseUserFileLine("5", 2, v));
  EXPECT_FALSE(ParseUserFileLine("5\r\nx", 3, v));
  EXPECT_TRUE(ParseUserFileLine("0\r\nx", 2, v));  // line 2 does not depend on line 1
  EXPECT_EQ(v, "x");
}

TEST(UserFile, OnlyTheFirst259BytesAreRead) {
  std::string v;
  const std::string head = "5\r\n" + std::string(256, 'a');  // 259 bytes
  EXPECT_TRUE(ParseUserFileLine(head + "bbb", 2, v));
  EXPECT_EQ(v, std::string(256, 'a'));
}

TEST(HostPlayer, NamedAfterTheExecutable) {
  EXPECT_EQ(HostPlayerNameFromPath("C:\\Program Files\\Windows Media Player\\wmplayer.exe"), "wmp");
  EXPECT_EQ(HostPlayerNameFromPath("C:\\Program Files\\Winamp\\winamp.exe"), "winamp");
  EXPECT_EQ(HostPlayerNameFromPath("C:\\Real\\RealPlay.exe"), "real");
  EXPECT_EQ(HostPlayerNameFromPath("C:\\Winamp\\other.exe"), "C:\\Winamp\\other.exe");
  EXPECT_EQ(HostPlayerNameFromPath("foobar.exe"), "foobar.exe");
}
