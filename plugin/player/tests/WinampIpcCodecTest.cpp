#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "player/SongInfo.h"
#include "player/WinampIpcCodec.h"

using namespace zl::winamp;

TEST(SongInfoRecord, BytesAtTheirOffsets) {
  SongInfo info;
  std::memset(&info, 0, sizeof info);
  info.path[0] = 'P';
  info.title[0] = 'T';
  info.artist[0] = 'A';
  info.album[0] = 'L';
  info.kbps = 128;
  info.duration = 0x01020304;
  unsigned char bytes[1288];
  ASSERT_EQ(sizeof info, sizeof bytes);
  std::memcpy(bytes, &info, sizeof bytes);
  EXPECT_EQ(bytes[0], 'P');
  EXPECT_EQ(bytes[512], 'T');
  EXPECT_EQ(bytes[768], 'A');
  EXPECT_EQ(bytes[1024], 'L');
  EXPECT_EQ(bytes[1280], 128);
  EXPECT_EQ(bytes[1281], 0);
  // int32, little-endian
  EXPECT_EQ(bytes[1284], 0x04);
  EXPECT_EQ(bytes[1285], 0x03);
  EXPECT_EQ(bytes[1286], 0x02);
  EXPECT_EQ(bytes[1287], 0x01);
}

TEST(WinampCodec, PlayStatusAnswers) {
  EXPECT_EQ(DecodePlayStatus(1), PlayStatus::Playing);
  EXPECT_EQ(DecodePlayStatus(3), PlayStatus::Paused);
  EXPECT_EQ(DecodePlayStatus(0), PlayStatus::Stopped);
  EXPECT_EQ(DecodePlayStatus(2), PlayStatus::Unknown);
}

TEST(WinampCodec, NextEntryWrapsToTheFirst) {
  EXPECT_EQ(NextEntryIndex(0, 3), 1);
  EXPECT_EQ(NextEntryIndex(2, 3), 0);
  EXPECT_EQ(NextEntryIndex(0, 1), 0);
  EXPECT_EQ(NextEntryIndex(0, 0), -1);   // empty list: nothing, and no division by zero
  EXPECT_EQ(NextEntryIndex(5, 3), 0);    // a position the list no longer has
  EXPECT_EQ(NextEntryIndex(-1, 3), 0);
#if INTPTR_MAX > INT_MAX
  // A 64-bit answer past int is held at the longest list an int can count.
  const intptr_t huge = static_cast<intptr_t>(INT_MAX) + 5;
  EXPECT_EQ(NextEntryIndex(huge - 1, huge), 0);
  EXPECT_EQ(NextEntryIndex(INT_MAX - 2, huge), INT_MAX - 1);
#endif
}

TEST(WinampCodec, LengthsAndPositions) {
  EXPECT_EQ(DurationMsFromSeconds(215), 215000);
  EXPECT_EQ(DurationMsFromSeconds(0), 0);
  EXPECT_EQ(DurationMsFromSeconds(-1), 0);  // unknown length
  EXPECT_EQ(DurationMsFromSeconds(3000000), INT32_MAX);
  EXPECT_EQ(PositionFromAnswer(-1), -1);
  EXPECT_EQ(PositionFromAnswer(123456), 123456);
}

TEST(WinampCodec, EnqueuePathMustFitWhole) {
  char buffer[kEnqueuePathSize];
  EXPECT_TRUE(EncodeEnqueuePath("C:\\a.mp3", buffer));
  EXPECT_STREQ(buffer, "C:\\a.mp3");
  EXPECT_TRUE(EncodeEnqueuePath(std::string(259, 'x'), buffer));
  EXPECT_EQ(std::strlen(buffer), 259u);
  EXPECT_FALSE(EncodeEnqueuePath(std::string(260, 'x'), buffer));
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_FALSE(EncodeEnqueuePath("", buffer));
  EXPECT_FALSE(EncodeEnqueuePath(std::string("a\0b", 3), buffer));

  const EnqueueFileInfo info = MakeEnqueueInfo(buffer);
  EXPECT_EQ(info.filename, buffer);
  EXPECT_EQ(info.title, nullptr);
  EXPECT_EQ(info.length, 0);
}

TEST(WinampCodec, EntryNamesAreCutWithinTheirField) {
  char field[8];
  std::memset(field, 'x', sizeof field);
  CopyEntryName(nullptr, field, sizeof field);
  EXPECT_STREQ(field, "");
  CopyEntryName("abc", field, sizeof field);
  EXPECT_STREQ(field, "abc");
  CopyEntryName("abcdefghijkl", field, sizeof field);
  EXPECT_STREQ(field, "abcdefg");
  // "abcdef" + one double-byte character: its lead byte would be the 7th
  // byte, so the character is left out whole.
  CopyEntryName("abcdef\xB8\xE8z", field, sizeof field);
  EXPECT_STREQ(field, "abcdef");
}

TEST(WinampCodec, SkinNameAnswer) {
  char buffer[kSkinNameSize] = "Winamp Modern";
  EXPECT_EQ(DecodeSkinName(1, buffer), "Winamp Modern");
  EXPECT_EQ(DecodeSkinName(0, buffer), "");
  std::memset(buffer, 'k', sizeof buffer);  // no terminator from the player
  EXPECT_EQ(DecodeSkinName(1, buffer).size(), kSkinNameSize - 1);
}
