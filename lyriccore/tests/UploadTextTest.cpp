// The text a lyric upload sends.
#include <gtest/gtest.h>

#include "TestRecords.h"
#include "UploadText.h"

using namespace zl;

TEST(UploadText, EventTextCarriesNamesAndTheConvertedLyric) {
  LrcItem item{};
  Set(item.title, "Ti");
  Set(item.artist, "Ar");
  Set(item.album, "Al");
  Set(item.uploader, "me");
  EXPECT_EQ(UploadEventText(item, "[00:01.00]a\nb\n"), "S:Ti|AR:Ar|AL:Al|UPLOADER:me|C:[00:01.00]a%0D%0Ab%0D%0A");
  EXPECT_EQ(UploadEventText(LrcItem{}, "x"), "S:|AR:|AL:|UPLOADER:|C:x");
}

TEST(UploadText, LineEndsConvertAlike) {
  EXPECT_EQ(UploadLyricText("a\r\nb\r\n"), UploadLyricText("a\nb\n"));
  EXPECT_EQ(UploadLyricText("a\r\nb\r\n"), "a%0D%0Ab%0D%0A");
  // Text that already holds the escape keeps it; a lone CR stays a CR.
  EXPECT_EQ(UploadLyricText("x%0D%0Ay"), "x%0D%0Ay");
  EXPECT_EQ(UploadLyricText("a\rb\r\r\n"), "a\rb\r%0D%0A");
  EXPECT_EQ(UploadLyricText("\n\n"), "%0D%0A%0D%0A");
}

TEST(UploadText, OnlyFilesOfOneToTenThousandBytes) {
  EXPECT_FALSE(UploadSizeAllowed(-1));
  EXPECT_FALSE(UploadSizeAllowed(0));
  EXPECT_TRUE(UploadSizeAllowed(1));
  EXPECT_TRUE(UploadSizeAllowed(10000));
  EXPECT_FALSE(UploadSizeAllowed(10001));
}
