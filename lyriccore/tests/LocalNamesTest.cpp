#include "LocalNames.h"

#include <gtest/gtest.h>

using namespace zl;

namespace {
const std::string R = "C:\\zo\\Resource\\";
const std::string kLyricDir = "C:\\zo\\lrc\\";
const std::string kSong = "D:\\music\\My Song.mp3";

LyricSettings Options(int asSongName, int inSongPath, int inOtherPath, const std::string& savePath = "E:\\keep") {
  LyricSettings s;
  s.SaveLrcFileAsSongFileName = asSongName;
  s.SaveLrcInSongPath = inSongPath;
  s.SaveLrcInOtherPath = inOtherPath;
  s.LrcSavePath = savePath;
  return s;
}
}  // namespace

TEST(LocalNames, ResourceLayout) {
  EXPECT_EQ(InfoFilePath(R, "0011AABB0011AABB"), "C:\\zo\\Resource\\info\\0011AABB0011AABB.info");
  EXPECT_EQ(ArtistPicturePath(R, "Ar"), "C:\\zo\\Resource\\Artist\\Ar.jpg");
  EXPECT_EQ(ArtistSwfPicturePath(R, "Ar"), "C:\\zo\\Resource\\Artist\\Ar_swf.jpg");
  EXPECT_EQ(ArtistSwfSignaturePath(R, "Ar"), "C:\\zo\\Resource\\Artist\\Ar_swf.sig");
  EXPECT_EQ(MvPicturePath(R, "Ar", "Ti"), "C:\\zo\\Resource\\MTV\\Ar-Ti_flv.jpg");
  EXPECT_EQ(MvSignaturePath(R, "Ar", "Ti"), "C:\\zo\\Resource\\MTV\\Ar-Ti_flv.sig");
  EXPECT_EQ(ResourceLyricPath(R, "Ar", "Ti"), "C:\\zo\\Resource\\Lyric\\Ar-Ti.lrc");
}

TEST(LocalNames, NamesNeverLeaveTheirFolder) {
  EXPECT_EQ(ResourceLyricPath(R, "..\\..\\Windows", "x"), "C:\\zo\\Resource\\Lyric\\.._.._Windows-x.lrc");
  EXPECT_EQ(FileNamePart("AC/DC: \"live\" <1|2>*?"), "AC_DC_ _live_ _1_2___");
  EXPECT_EQ(FileNamePart(std::string("a\tb\x01", 4)), "a_b_");
  // A double-byte character whose trail byte is '\' or '|' stays whole.
  EXPECT_EQ(FileNamePart("\x95\x5C\x95\x7C"), "\x95\x5C\x95\x7C");
}

TEST(LocalNames, SongPathParts) {
  EXPECT_EQ(NormalizeSongPath("D:/music/a b/x.mp3"), "D:\\music\\a b\\x.mp3");
}

TEST(LocalNames, JoinAddsOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(JoinPath("C:\\a\\", "b"), "C:\\a\\b");
  EXPECT_EQ(JoinPath("C:/a/", "b"), "C:/a/b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(JoinPath("C:\\\x95\x5C", "b"), "C:\\\x95\x5C\\b");
}

TEST(LocalNames, UserCopyUnderEachLyricFileOption) {
  // Defaults: artist-title in the save folder.
  EXPECT_EQ(UserLyricCopyPath(Options(0, 0, 1), kSong, "Ar", "Ti", kLyricDir), "E:\\keep\\Ar-Ti.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(1, 0, 1), kSong, "Ar", "Ti", kLyricDir), "E:\\keep\\My Song.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(0, 1, 1), kSong, "Ar", "Ti", kLyricDir), "D:\\music\\Ar-Ti.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(1, 1, 0), kSong, "Ar", "Ti", kLyricDir), "D:\\music\\My Song.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(0, 0, 0), kSong, "Ar", "Ti", kLyricDir), "C:\\zo\\lrc\\Ar-Ti.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(1, 0, 0), kSong, "Ar", "Ti", kLyricDir), "C:\\zo\\lrc\\My Song.lrc");
  // Only 1 switches an option on.
  EXPECT_EQ(UserLyricCopyPath(Options(2, 2, 1), kSong, "Ar", "Ti", kLyricDir), "E:\\keep\\Ar-Ti.lrc");
}

TEST(LocalNames, UserCopyWithoutASongFile) {
  EXPECT_EQ(UserLyricCopyPath(Options(1, 1, 1), "", "Ar", "Ti", kLyricDir), "E:\\keep\\Ar-Ti.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(0, 1, 0), "song.mp3", "Ar", "Ti", kLyricDir), "C:\\zo\\lrc\\Ar-Ti.lrc");
  EXPECT_EQ(UserLyricCopyPath(Options(0, 0, 1, ""), kSong, "Ar", "Ti", kLyricDir), "C:\\zo\\lrc\\Ar-Ti.lrc");
}

TEST(LocalNames, LocalFoldersInListOrder) {
  const std::vector<LocalLyricFolder> folders = {{"D:\\one", true}, {"E:\\two\\", false}};
  const std::vector<std::string> expected = {"D:\\one\\A_B-T.lrc", "E:\\two\\A_B-T.lrc"};
  EXPECT_EQ(LocalLyricCandidates(folders, "A/B", "T"), expected);
  EXPECT_TRUE(LocalLyricCandidates({}, "A", "T").empty());
}

TEST(LocalNames, SamePathIgnoresCaseAndSlashes) {
  EXPECT_TRUE(SamePath("C:\\Zo\\Lyric\\a.lrc", "c:/zo/lyric/A.LRC"));
  EXPECT_FALSE(SamePath("C:\\zo\\a.lrc", "C:\\zo\\b.lrc"));
  EXPECT_FALSE(SamePath("C:\\zo\\a.lrc", "C:\\zo\\a.lrc2"));
  // Trail bytes that look like letters are compared as they are.
  EXPECT_FALSE(SamePath("\x81\x41", "\x81\x61"));
}
