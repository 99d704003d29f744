#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "CommandLine.h"
#include "M3uPlaylist.h"

using namespace playerhost;

TEST(M3u, ExtInfGivesTitleAndLengthOfTheNextEntryOnly) {
  const std::string text =
      "#EXTM3U\r\n"
      "#EXTINF:215,Artist - First Song\r\n"
      "C:\\Music\\first.mp3\r\n"
      "\r\n"
      "second.wma\r\n"
      "#EXTINF:-1,Stream\n"
      "  sub\\third.mp3  \n"
      "#EXTINF:abc,Bad Length\n"
      "\\\\server\\share\\fourth.mp3\n"
      "#a comment\n"
      "http://radio.example/stream";  // no final newline
  const auto entries = ParseM3u(text, "D:\\Lists\\", 180);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].path, "C:\\Music\\first.mp3");
  EXPECT_EQ(entries[0].title, "Artist - First Song");
  EXPECT_EQ(entries[0].lengthSec, 215);
  EXPECT_EQ(entries[1].path, "D:\\Lists\\second.wma");
  EXPECT_EQ(entries[1].title, "second");
  EXPECT_EQ(entries[1].lengthSec, 180);
  EXPECT_EQ(entries[2].path, "D:\\Lists\\sub\\third.mp3");
  EXPECT_EQ(entries[2].title, "Stream");
  EXPECT_EQ(entries[2].lengthSec, 180);  // -1: unknown
  EXPECT_EQ(entries[3].path, "\\\\server\\share\\fourth.mp3");
  EXPECT_EQ(entries[3].title, "Bad Length");
  EXPECT_EQ(entries[3].lengthSec, 180);
  EXPECT_EQ(entries[4].path, "http://radio.example/stream");
}

TEST(M3u, ByteOrderMarkAndEmptyText) {
  const auto entries = ParseM3u("\xEF\xBB\xBF#EXTM3U\nsong.mp3\n", "", 60);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].path, "song.mp3");
  EXPECT_TRUE(ParseM3u("", "x\\", 60).empty());
  EXPECT_TRUE(ParseM3u("#EXTM3U\n#EXTINF:10,Only a header\n", "x\\", 60).empty());
}

TEST(M3u, NamesAndFolders) {
  EXPECT_EQ(TitleFromPath("C:\\Music\\Song.Name.mp3"), "Song.Name");
  EXPECT_EQ(TitleFromPath("/music/noext"), "noext");
  EXPECT_EQ(TitleFromPath(".hidden"), ".hidden");
  EXPECT_EQ(FolderOf("C:\\a\\b.m3u"), "C:\\a\\");
  EXPECT_EQ(FolderOf("b.m3u"), "");
  // A double-byte character whose trail byte is 0x5C is no separator.
  EXPECT_EQ(FolderOf("C:\\a\\\x95\x5C.m3u"), "C:\\a\\");
  EXPECT_EQ(TitleFromPath("C:\\a\\\x95\x5C.mp3"), "\x95\x5C");
  EXPECT_TRUE(IsPlaylistFileName("LIST.M3U"));
  EXPECT_TRUE(IsPlaylistFileName("x.m3u8"));
  EXPECT_FALSE(IsPlaylistFileName("x.mp3"));
  EXPECT_FALSE(IsPlaylistFileName(".m3u"));
}

TEST(M3u, LoadsFileAndReportsMissingOne) {
  const std::string path = testing::TempDir() + "playerhost_m3u_test.m3u";
  {
    std::ofstream out(path, std::ios::binary);
    out << "#EXTINF:3,Short\nshort.mp3\nlong.mp3\n";
  }
  std::vector<PlaylistEntry> entries;
  std::string error;
  ASSERT_TRUE(LoadM3uFile(path, 99, entries, error)) << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].path, FolderOf(path) + "short.mp3");
  EXPECT_EQ(entries[0].lengthSec, 3);
  EXPECT_EQ(entries[1].lengthSec, 99);

  // The command line expands playlists in place among plain files.
  CommandLine cmd;
  ASSERT_TRUE(ParseCommandLine({"--default-length", "42", "a.mp3", path, "b.mp3"}, cmd, error));
  ASSERT_TRUE(BuildPlaylist(cmd, entries, error)) << error;
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].path, "a.mp3");
  EXPECT_EQ(entries[0].lengthSec, 42);
  EXPECT_EQ(entries[1].title, "Short");
  EXPECT_EQ(entries[2].lengthSec, 42);
  EXPECT_EQ(entries[3].path, "b.mp3");
  std::remove(path.c_str());

  EXPECT_FALSE(LoadM3uFile(path, 99, entries, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(BuildPlaylist(cmd, entries, error));
}
