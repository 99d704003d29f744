#include "mvcontrol/ControlRules.h"

#include <gtest/gtest.h>

using namespace mvcontrol;

TEST(RateText, BytesUpTo1024KilobytesUpToAMegabyteThenMegabytes) {
  EXPECT_EQ(RateText(0), "0.00B");
  EXPECT_EQ(RateText(1024), "1024.00B");
  EXPECT_EQ(RateText(1025), "1.00KB");
  EXPECT_EQ(RateText(1536), "1.50KB");
  EXPECT_EQ(RateText(1048576), "1024.00KB");
  EXPECT_EQ(RateText(1048577), "1.00MB");
  EXPECT_EQ(RateText(3 * 1048576 + 524288), "3.50MB");
  EXPECT_EQ(RateText(0xFFFFFFFFu), "4096.00MB");
}

TEST(Geometry, WidthGivesTheMovieHeightPlusTheTextLine) {
  EXPECT_EQ(HeightForWidth(347), 320);
  EXPECT_EQ(HeightForWidth(694), 620);
  EXPECT_EQ(HeightForWidth(100), 100 * 300 / 347 + 20);
  EXPECT_EQ(HeightForWidth(0), 20);
  // A page's wild width neither overflows nor makes an impossible window.
  EXPECT_EQ(HeightForWidth(0xFFFFFFFFu), HeightForWidth(kMaxControlWidth));
  EXPECT_GT(HeightForWidth(kMaxControlWidth), 0);

  const MovieLayout l = LayoutMovieDialog(347, 320);
  EXPECT_EQ(l.flash.x, 0);
  EXPECT_EQ(l.flash.y, 0);
  EXPECT_EQ(l.flash.width, 347);
  EXPECT_EQ(l.flash.height, 300);
  EXPECT_EQ(l.status.x, 10);
  EXPECT_EQ(l.status.y, 300);
  EXPECT_EQ(l.status.width, 337);
  EXPECT_EQ(l.status.height, 20);
  const MovieLayout tiny = LayoutMovieDialog(5, 3);
  EXPECT_EQ(tiny.flash.height, 0);
  EXPECT_EQ(tiny.status.width, 0);

  EXPECT_EQ(PixelsToHimetric(347, 96), 9181);
  EXPECT_EQ(PixelsToHimetric(320, 96), 8467);
  EXPECT_EQ(HimetricToPixels(9181, 96), 347);
  EXPECT_EQ(HimetricToPixels(8467, 96), 320);
}

TEST(SignFromText, ReadsLikeAtoiOverTheWholeUnsignedRange) {
  EXPECT_EQ(SignFromText("12"), 12u);
  EXPECT_EQ(SignFromText("x"), 0u);
  EXPECT_EQ(SignFromText(""), 0u);
  EXPECT_EQ(SignFromText("  7abc"), 7u);
  EXPECT_EQ(SignFromText("+42"), 42u);
  EXPECT_EQ(SignFromText("3000000000"), 3000000000u);
  EXPECT_EQ(SignFromText("4294967295"), 4294967295u);
  EXPECT_EQ(SignFromText("-1"), 4294967295u);
}

TEST(Names, ReplyWindowAndVideoFile) {
  EXPECT_EQ(ReplyWindowName(0, 0), "0");
  EXPECT_EQ(ReplyWindowName(1, 2), "65538");
  EXPECT_EQ(ReplyWindowName(32767, 32767), "2147450879");

  EXPECT_EQ(VideoFilePath("C:\\T\\", {12, 0}, "flv"), "C:\\T\\ZLrc\\ocx12_0.flv");
  EXPECT_NE(VideoFilePath("C:\\T\\", {1, 23}, "flv"), VideoFilePath("C:\\T\\", {12, 3}, "flv"));
  EXPECT_EQ(VideoFilePath("C:\\" + std::string(250, 'a') + "\\", {1, 2}, "flv"), "");
}

TEST(PagePaths, OnlyLocalFilesWithTheExpectedExtension) {
  for (const char* ok : {"C:\\movies\\player.swf", "c:/x/A.SWF", "D:\\a b\\c.d.swf", "C:\\\xB1\xED.swf"})
    EXPECT_TRUE(IsAcceptablePagePath(ok, "swf")) << ok;
  EXPECT_TRUE(IsAcceptablePagePath("C:\\v\\clip.flv", "flv"));
  // The trail byte of a double-byte character may be '\' or '|'.
  EXPECT_TRUE(IsAcceptablePagePath("C:\\\x81\x5C\x81|.flv", "flv"));

  for (const char* refused : {
           "\\\\server\\share\\a.swf",  // UNC
           "//server/share/a.swf",      // UNC with slashes
           "\\\\?\\C:\\a.swf",          // device paths
           "\\\\.\\C:\\a.swf",
           "http://example.com/a.swf",  // URLs
           "file:///C:/a.swf",
           "file://server/a.swf",
           "a.swf",                     // relative
           "\\a.swf",
           "C:a.swf",
           "C:\\a.flv",                 // another extension
           "C:\\a.swf.exe",
           "C:\\a.swf ",
           "C:\\a.swf.",
           "C:\\a.swf:stream",          // a stream, not the file
           "C:\\a\\.swf",               // no name
           "C:\\a*.swf",                // wildcards, reserved characters
           "C:\\a?.swf",
           "C:\\a|b.swf",
           "C:\\a\"b.swf",
           "C:\\a\nb.swf",
           "C:\\\xB1",                  // a character cut in half
           "",
       })
    EXPECT_FALSE(IsAcceptablePagePath(refused, "swf")) << refused;
  EXPECT_FALSE(IsAcceptablePagePath("C:\\" + std::string(253, 'a') + ".swf", "swf"));
  EXPECT_TRUE(IsAcceptablePagePath("C:\\" + std::string(252, 'a') + ".swf", "swf"));
}
