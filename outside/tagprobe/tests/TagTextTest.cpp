#include <gtest/gtest.h>

#include "TagText.h"
#include "TestBytes.h"
#include "TestConverter.h"

using namespace tagprobe;

namespace {

const std::string kZhongWen = "\xD6\xD0\xCE\xC4";  // 中文 in GBK

std::string Id3Text(const Bytes& body) { return Id3TextToGbk(body.data(), body.size(), TestConverter()); }

}  // namespace

TEST(Utf8, DecodesAllLengthsAndReplacesBadSequences) {
  const Bytes ok = B({'a', 0xC3, 0xA9, 0xE4, 0xB8, 0xAD, 0xF0, 0x9F, 0x8E, 0xB5});
  EXPECT_EQ(Utf8ToUtf16(ok.data(), ok.size()), (std::u16string{u'a', 0xE9, 0x4E2D, 0xD83C, 0xDFB5}));
  // Overlong NUL, a stray continuation byte, an encoded surrogate, a cut sequence.
  const Bytes bad = B({0xC0, 0x80, 0x80, 'x', 0xED, 0xA0, 0x80, 0xE4, 0xB8});
  EXPECT_EQ(Utf8ToUtf16(bad.data(), bad.size()), (std::u16string{0xFFFD, 0xFFFD, u'x', 0xFFFD, 0xFFFD}));
}

TEST(Id3Text, EveryEncodingComesOutAsGbk) {
  EXPECT_EQ(Id3Text(B({0}) + S(kZhongWen)), kZhongWen);
  EXPECT_EQ(Id3Text(B({1, 0xFF, 0xFE, 0x2D, 0x4E, 0x87, 0x65})), kZhongWen);
  EXPECT_EQ(Id3Text(B({1, 0xFE, 0xFF, 0x4E, 0x2D, 0x65, 0x87})), kZhongWen);
  EXPECT_EQ(Id3Text(B({1, 0x2D, 0x4E, 0x87, 0x65})), kZhongWen);  // BOM missing
  EXPECT_EQ(Id3Text(B({2, 0x4E, 0x2D, 0x65, 0x87})), kZhongWen);
  EXPECT_EQ(Id3Text(B({3, 0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87})), kZhongWen);
  EXPECT_EQ(Id3Text(B({3, 0xEF, 0xBB, 0xBF, 'A', 'B'})), "AB");  // UTF-8 BOM
}

TEST(Id3Text, TakesTheFirstStringWithoutTerminatorsOrTrailingBlanks) {
  EXPECT_EQ(Id3Text(B({3, 'O', 'n', 'e', ' ', 0, 'T', 'w', 'o'})), "One");
  EXPECT_EQ(Id3Text(B({1, 0xFF, 0xFE, 'A', 0, 0, 0, 0xFF, 0xFE, 'B', 0})), "A");
  EXPECT_EQ(Id3Text(B({0, 'X', 0, 0, 0})), "X");
  EXPECT_EQ(Id3Text(B({1, 0xFF, 0xFE, 'A', 0, 'B'})), "A");  // odd trailing byte
  EXPECT_EQ(Id3Text(B({})), "");
  EXPECT_EQ(Id3Text(B({1})), "");
  EXPECT_EQ(Id3Text(B({7, 'A'})), "");  // no such encoding
}

TEST(Id3Text, LegacyBytesAreGbkWhenTheyCanBeElseLatin1) {
  EXPECT_EQ(Id3Text(B({0, 'C', 'a', 'f', 0xE9})), "Caf\xA8\xA6");          // lone high byte: Latin-1 é
  EXPECT_EQ(Id3Text(B({0, 0xE9, ' ', 'a'})), "\xA8\xA6 a");                // 0xE9 0x20 is no GBK pair
  EXPECT_EQ(Id3Text(B({0, 0xC7, 0xE7, 0xCC, 0xEC})), "\xC7\xE7\xCC\xEC");  // 晴天 kept as it is
}

TEST(Id3Text, CharactersGbkLacksBecomeQuestionMarks) {
  EXPECT_EQ(Id3Text(B({1, 0xFF, 0xFE, 'A', 0, 0x01, 0x0E, 'B', 0})), "A?B");  // Thai ko kai
}

TEST(Gbk, ValidityFollowsLeadAndTrailRanges) {
  const Bytes good = B({'a', 0x81, 0x40, 0xFE, 0xFE});
  EXPECT_TRUE(IsValidGbk(good.data(), good.size()));
  for (const Bytes& bad : {B({0x80}), B({0xFF, 0x40}), B({0x81, 0x7F}), B({0x81, 0x3F}), B({0x81})})
    EXPECT_FALSE(IsValidGbk(bad.data(), bad.size()));
}

TEST(AsfText, StopsAtTheTerminator) {
  const Bytes s = B({0x74, 0x66, 0x29, 0x59, 0, 0, 'x', 0});
  EXPECT_EQ(AsfTextToGbk(s.data(), s.size(), TestConverter()), "\xC7\xE7\xCC\xEC");
}
