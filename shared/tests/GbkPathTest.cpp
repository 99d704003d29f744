#include <gtest/gtest.h>

#include <string>

#include "shared/GbkPath.h"

using namespace zl;

namespace {
// A double-byte character whose trail byte is 0x5C, the byte of '\'.
const std::string kTrail5C = "\x95\x5C";
}  // namespace

TEST(GbkPath, LastSeparatorSkipsATrailByte5C) {
  EXPECT_EQ(LastPathSeparator("C:\\m\\" + kTrail5C), 4u);
  EXPECT_EQ(LastPathSeparator(kTrail5C + "x"), std::string::npos);
  EXPECT_EQ(LastPathSeparator("a/b\\c"), 3u);
  EXPECT_EQ(LastPathSeparator("a/b\\c/d", "\\"), 3u);
  EXPECT_EQ(LastPathSeparator(""), std::string::npos);
  // A lead byte at the very end has no trail: the byte before it still counts.
  EXPECT_EQ(LastPathSeparator("a\\\x95"), 1u);
}

TEST(GbkPath, NameAndFolderKeepTheCharacterWhole) {
  const std::string song = "C:\\" + kTrail5C + "\\" + kTrail5C + ".mp3";
  EXPECT_EQ(PathFileName(song), kTrail5C + ".mp3");
  EXPECT_EQ(PathFolder(song), "C:\\" + kTrail5C);
  EXPECT_EQ(PathStem(song), kTrail5C);
  EXPECT_EQ(PathExtension(song), "mp3");
  EXPECT_EQ(PathFileName("C:\\music\\a b.mp3"), "a b.mp3");
  EXPECT_EQ(PathFileName("/m/x.mp3"), "x.mp3");
  EXPECT_EQ(PathFileName("x.mp3"), "x.mp3");
  EXPECT_EQ(PathFolder("x.mp3"), "");
}

TEST(GbkPath, ExtensionBelongsToTheFileName) {
  EXPECT_EQ(PathExtension("C:\\a.b\\song"), "");
  EXPECT_EQ(PathStem("C:\\a.b\\song"), "song");
  EXPECT_EQ(PathExtension("C:\\m\\.lrc"), "");
  EXPECT_EQ(PathStem("C:\\m\\.lrc"), ".lrc");
  EXPECT_EQ(PathExtension("a.tar.GZ"), "GZ");
  EXPECT_EQ(PathStem("a.tar.GZ"), "a.tar");
}

TEST(GbkPath, ForwardWalkAndTrailingSeparator) {
  const std::string p = kTrail5C + "\\a/" + kTrail5C;
  EXPECT_EQ(NextPathSeparator(p, 0), 2u);
  EXPECT_EQ(NextPathSeparator(p, 3), 4u);
  EXPECT_EQ(NextPathSeparator(p, 5), std::string::npos);
  EXPECT_TRUE(EndsInPathSeparator("C:\\m\\"));
  EXPECT_FALSE(EndsInPathSeparator("C:\\" + kTrail5C));
  EXPECT_FALSE(EndsInPathSeparator(""));
}

TEST(GbkPath, SongPathParts) {
  const std::string song = "D:\\music\\My Song.mp3";
  EXPECT_EQ(PathFolder(song), "D:\\music");
  EXPECT_EQ(PathStem(song), "My Song");
  EXPECT_EQ(PathStem("D:\\a.b\\noext"), "noext");
  EXPECT_EQ(PathStem("D:\\a\\.hidden"), ".hidden");
  // "\x95\x5C" is one character, not a separator.
  EXPECT_EQ(PathFolder("D:\\\x95\x5C.mp3"), "D:");
  EXPECT_EQ(PathStem("D:\\\x95\x5C.mp3"), "\x95\x5C");
}
