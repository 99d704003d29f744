#include <gtest/gtest.h>

#include <cstring>

#include "TagDataFile.h"
#include "TestBytes.h"

using namespace tagprobe;

TEST(TagData, ValueThenTitleArtistAlbumFields) {
  const Bytes b = EncodeTagData(SongNames{"\xC7\xE7\xCC\xEC", "Jay", "Ye Hui Mei"});
  ASSERT_EQ(b.size(), 1804u);
  Bytes expected(1804, 0);
  expected[0] = 1;
  const Bytes title = B({0xC7, 0xE7, 0xCC, 0xEC});
  std::copy(title.begin(), title.end(), expected.begin() + 4);
  std::memcpy(expected.data() + 4 + 256, "Jay", 3);
  std::memcpy(expected.data() + 4 + 512, "Ye Hui Mei", 10);
  EXPECT_EQ(b, expected);
}

TEST(TagData, NoNamesGiveZeroAndAnEmptyBlock) { EXPECT_EQ(EncodeTagData(SongNames{}), Bytes(1804, 0)); }

TEST(TagData, LongNamesAreCutWithoutSplittingACharacter) {
  std::string name = "a";
  for (int i = 0; i < 200; ++i) name += "\xC7\xE7";
  const Bytes b = EncodeTagData(SongNames{name, "", ""});
  // 255 bytes hold "a" and 127 characters; the field's last byte stays NUL.
  EXPECT_EQ(Bytes(b.begin() + 4, b.begin() + 4 + 256), S(name.substr(0, 255)) + B({0}));
  EXPECT_EQ(b[4 + 256], 0);
}

TEST(TagData, ReadsTheFileThePlugInWrites) {
  // The plug-in's 2312-byte record: path (512), title, artist, album (256 each), ...;
  // it writes the value 1 and the 1800 bytes from offset 512.
  Bytes record(2312, 0);
  std::memcpy(record.data(), "C:\\music\\a.mp3", 14);
  std::memcpy(record.data() + 512, "Title", 5);
  std::memcpy(record.data() + 768, "\xD6\xDC\xBD\xDC\xC2\xD7", 6);
  std::memcpy(record.data() + 1024, "Album", 5);
  const Bytes file = B({1, 0, 0, 0}) + Bytes(record.begin() + 512, record.begin() + 2312);
  SongNames n;
  ASSERT_EQ(DecodeTagData(file.data(), file.size(), n), TagDataStatus::kNames);
  EXPECT_EQ(n.title, "Title");
  EXPECT_EQ(n.artist, "\xD6\xDC\xBD\xDC\xC2\xD7");
  EXPECT_EQ(n.album, "Album");
}

TEST(TagData, OddFilesAreRefusedOrCarryNothing) {
  SongNames n;
  Bytes file(1804, 0);
  EXPECT_EQ(DecodeTagData(file.data(), file.size(), n), TagDataStatus::kNoNames);
  file[0] = 1;
  EXPECT_EQ(DecodeTagData(file.data(), file.size(), n), TagDataStatus::kNoNames);  // 1 with empty names
  file[0] = 2;
  EXPECT_EQ(DecodeTagData(file.data(), file.size(), n), TagDataStatus::kMalformed);
  file[0] = 1;
  EXPECT_EQ(DecodeTagData(file.data(), 1803, n), TagDataStatus::kMalformed);
  file.push_back(0);
  EXPECT_EQ(DecodeTagData(file.data(), file.size(), n), TagDataStatus::kMalformed);
  // A field without its NUL is taken up to 255 bytes, whole characters only.
  file.pop_back();
  std::fill(file.begin() + 4, file.begin() + 260, 0xC7);
  ASSERT_EQ(DecodeTagData(file.data(), file.size(), n), TagDataStatus::kNames);
  EXPECT_EQ(n.title, std::string(254, '\xC7'));
}
