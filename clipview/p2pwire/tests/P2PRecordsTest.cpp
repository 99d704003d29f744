// The P2P server records byte for byte as the server lays them out, the
// checks on what arrives, and the head transformation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "p2pwire/HeadScramble.h"
#include "p2pwire/P2PRecords.h"

using namespace p2pwire;

namespace {

void Le32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (8 * i));
}

TEST(P2PRecords, RequestBytes) {
  const P2PRequestRecord r = MakeRequestRecord(SignPair{0x01020304, 0xA0B0C0D0}, "ZoP2P_ZOLYRIC_WinampMTV");
  std::string bytes(reinterpret_cast<const char*>(&r), sizeof r);
  ASSERT_EQ(bytes.size(), 76u);
  EXPECT_EQ(bytes.substr(0, 12), std::string("\x04\x03\x02\x01\xD0\xC0\xB0\xA0\0\0\0\0", 12));
  EXPECT_EQ(bytes.substr(12, 24), std::string("ZoP2P_ZOLYRIC_WinampMTV\0", 24));
  EXPECT_EQ(bytes.substr(36), std::string(40, '\0'));
}

TEST(P2PRecords, RequestNameIsCutTo63BytesWithoutSplittingACharacter) {
  std::string name(62, 'a');
  name += "\xB8\xE8";  // a GBK character across the limit
  const P2PRequestRecord r = MakeRequestRecord(SignPair{1, 2}, name.c_str());
  EXPECT_EQ(std::strlen(r.replyWindow), 62u);
  const P2PRequestRecord full = MakeRequestRecord(SignPair{1, 2}, std::string(80, 'b').c_str());
  EXPECT_EQ(std::string(full.replyWindow), std::string(63, 'b'));
}

TEST(P2PRecords, StatusRecordFromTheServersBytes) {
  std::string b(296, '\0');
  Le32(b, 0, 1234);
  Le32(b, 4, 5678);
  Le32(b, 8, 5);
  Le32(b, 12, 50);
  Le32(b, 16, 70);
  Le32(b, 20, 40000);
  Le32(b, 24, 0xFFFFFFFF);
  Le32(b, 28, 0xFFFFFFFF);
  Le32(b, 32, 20000);
  std::memcpy(&b[36], "C:\\store\\a.flv", 14);
  P2PStatusRecord r;
  std::string path;
  ASSERT_TRUE(DecodeStatusRecord(b.data(), b.size(), r, path));
  EXPECT_EQ(r.sign.first, 1234u);
  EXPECT_EQ(r.sign.second, 5678u);
  EXPECT_EQ(r.event, kEventProgress);
  EXPECT_EQ(r.usablePercent, 50u);
  EXPECT_EQ(r.downloadPercent, 70u);
  EXPECT_EQ(r.rate, 40000u);
  EXPECT_EQ(r.totalSize, 20000u);
  EXPECT_EQ(path, "C:\\store\\a.flv");

  EXPECT_FALSE(DecodeStatusRecord(b.data(), 295, r, path));
  std::string longer = b + '\0';
  EXPECT_FALSE(DecodeStatusRecord(longer.data(), longer.size(), r, path));
  EXPECT_FALSE(DecodeStatusRecord(nullptr, 296, r, path));
  std::string unterminated = b;
  std::memset(&unterminated[36], 'x', 260);
  EXPECT_FALSE(DecodeStatusRecord(unterminated.data(), unterminated.size(), r, path));
  unterminated[295] = '\0';  // ends in the last byte of the field
  ASSERT_TRUE(DecodeStatusRecord(unterminated.data(), unterminated.size(), r, path));
  EXPECT_EQ(path.size(), 259u);
}

TEST(P2PRecords, LookupRecordFromTheServersBytes) {
  std::string b(272, '\0');
  Le32(b, 0, 7);
  Le32(b, 4, 8);
  std::memcpy(&b[8], "D:\\x.swf", 8);
  Le32(b, 268, 100);
  P2PLookupRecord r;
  std::string path;
  ASSERT_TRUE(DecodeLookupRecord(b.data(), b.size(), r, path));
  EXPECT_EQ(r.sign.first, 7u);
  EXPECT_EQ(r.sign.second, 8u);
  EXPECT_EQ(path, "D:\\x.swf");
  EXPECT_EQ(r.percent, 100u);
  EXPECT_FALSE(DecodeLookupRecord(b.data(), 271, r, path));
  std::memset(&b[8], 'y', 260);
  EXPECT_FALSE(DecodeLookupRecord(b.data(), b.size(), r, path));
}

TEST(HeadScramble, UnscrambleUndoesScrambleAndChangesTheBytes) {
  std::string original;
  for (int i = 0; i < 4096; ++i) original += char(i * 7 + (i >> 8));
  std::string s = original;
  ScrambleHead(reinterpret_cast<unsigned char*>(&s[0]), s.size());
  size_t same = 0;
  for (size_t i = 0; i < s.size(); ++i) same += s[i] == original[i];
  EXPECT_LT(same, s.size() / 16);
  UnscrambleHead(reinterpret_cast<unsigned char*>(&s[0]), s.size());
  EXPECT_EQ(s, original);
  // Every byte value has its own image: the transformation loses nothing.
  std::string all;
  for (int v = 0; v < 256; ++v) all += char(v);
  ScrambleHead(reinterpret_cast<unsigned char*>(&all[0]), all.size());
  std::vector<uint8_t> sorted(all.begin(), all.end());
  std::sort(sorted.begin(), sorted.end());
  for (int v = 0; v < 256; ++v) EXPECT_EQ(sorted[size_t(v)], v);
}

}  // namespace
