#include <gtest/gtest.h>

#include "Id3v2Write.h"
#include "TestBytes.h"
#include "TestConverter.h"

using namespace tagprobe;

namespace {

// The one frame of a tag of the given version, as a 2.3 frame (id "" when dropped).
tagprobe::Frame23 Carried(int major, const Bytes& frame) {
  const Bytes tag = Id3Tag(major, frame);
  Id3v2Tag parsed;
  EXPECT_TRUE(ParseId3v2(tag.data(), tag.size(), parsed));
  EXPECT_EQ(parsed.frames.size(), 1u);
  tagprobe::Frame23 out;
  if (parsed.frames.empty() || !ConvertFrameTo23(static_cast<uint8_t>(major), parsed.frames[0], out)) return {};
  return out;
}

}  // namespace

TEST(Id3v2Write, TextFramesAreLatin1ForAsciiElseUtf16WithBom) {
  const TestConverter conv;
  EXPECT_EQ(TextFrameBody("Jay", conv), B({0, 'J', 'a', 'y'}));
  EXPECT_EQ(TextFrameBody("\xC7\xE7\xCC\xEC", conv), B({1, 0xFF, 0xFE, 0x74, 0x66, 0x29, 0x59}));
}

TEST(Id3v2Write, TagIsVersion23WithSyncsafeSizeAndPlainFrameSizes) {
  Bytes tag;
  ASSERT_TRUE(BuildId3v23Tag({{"TIT2", 0, B({0, 'H', 'i'})}, {"APIC", 0x4020, Bytes(200, 0xFF)}}, tag));
  const Bytes expected = B({'I', 'D', '3', 3, 0, 0, 0, 0, 1, 0x5F}) +              // 13 + 210 = 223
                         B({'T', 'I', 'T', '2', 0, 0, 0, 3, 0, 0, 0, 'H', 'i'}) +  //
                         B({'A', 'P', 'I', 'C', 0, 0, 0, 200, 0x40, 0x20}) + Bytes(200, 0xFF);
  EXPECT_EQ(tag, expected);
}

TEST(Id3v2Carry, Version23FramesGoOverAsTheyWere) {
  const tagprobe::Frame23 f = Carried(3, V23Frame("TRCK", B({0, '7'}), 0x4020));
  EXPECT_EQ(f.id, "TRCK");
  EXPECT_EQ(f.flags, 0x4020);
  EXPECT_EQ(f.body, B({0, '7'}));
  EXPECT_EQ(Carried(3, V23Frame("PRIV", B({1}), 0x8000)).id, "");  // to be dropped on any change
}

TEST(Id3v2Carry, Version24TextBecomesUtf16) {
  EXPECT_EQ(Carried(4, V24Frame("TPE2", B({3, 0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87}))).body,
            B({1, 0xFF, 0xFE, 0x2D, 0x4E, 0x87, 0x65}));
  EXPECT_EQ(Carried(4, V24Frame("TCON", B({2, 0, 'A', 0, 0, 0, 'B'}))).body,
            B({1, 0xFF, 0xFE, 'A', 0, 0, 0, 0xFF, 0xFE, 'B', 0}));
  EXPECT_EQ(Carried(4, V24Frame("TRCK", B({0, '7'}))).body, B({0, '7'}));
  EXPECT_EQ(Carried(4, V24Frame("COMM", B({3, 'e', 'n', 'g', 0, 'h', 'i'}))).body,
            B({1, 'e', 'n', 'g', 0xFF, 0xFE, 0, 0, 0xFF, 0xFE, 'h', 0, 'i', 0}));
  EXPECT_EQ(Carried(4, V24Frame("APIC", B({3}) + S("image/png") + B({0, 3, 'd', 0, 0x89, 0x50}))).body,
            B({1}) + S("image/png") + B({0, 3, 0xFF, 0xFE, 'd', 0, 0, 0, 0x89, 0x50}));
  EXPECT_EQ(Carried(4, V24Frame("WXXX", B({3, 'd', 0}) + S("http://x"))).body,
            B({1, 0xFF, 0xFE, 'd', 0, 0, 0}) + S("http://x"));
}

TEST(Id3v2Carry, Version24DatesKeepTheirYear) {
  const tagprobe::Frame23 f = Carried(4, V24Frame("TDRC", B({3}) + S("2004-05-06")));
  EXPECT_EQ(f.id, "TYER");
  EXPECT_EQ(f.body, B({0, '2', '0', '0', '4'}));
  EXPECT_EQ(Carried(4, V24Frame("TDRC", B({3}) + S("May"))).id, "");
}

TEST(Id3v2Carry, Version24FlagsAndExtraBytes) {
  tagprobe::Frame23 f = Carried(4, V24Frame("TXXX", B({0, 'a', 0, 'b'}), 0x2000));  // file alter preservation
  EXPECT_EQ(f.flags, 0x4000);
  EXPECT_EQ(Carried(4, V24Frame("TXXX", B({0, 'a', 0, 'b'}), 0x4000)).id, "");  // tag alter preservation
  f = Carried(4, V24Frame("PRIV", B({9, 'o', 0, 1}), 0x0040));                  // grouped
  EXPECT_EQ(f.flags, 0x0020);
  EXPECT_EQ(f.body, B({9, 'o', 0, 1}));
  f = Carried(4, V24Frame("APIC", B({0, 0, 1, 0, 0x78, 0x9C, 1, 2}), 0x0009));  // compressed, 128 bytes
  EXPECT_EQ(f.flags, 0x0080);
  EXPECT_EQ(f.body, B({0, 0, 0, 128, 0x78, 0x9C, 1, 2}));
}

TEST(Id3v2Carry, Version22FramesTakeTheirLaterNames) {
  tagprobe::Frame23 f = Carried(2, S("TRK") + B({0, 0, 2, 0, '5'}));
  EXPECT_EQ(f.id, "TRCK");
  EXPECT_EQ(f.body, B({0, '5'}));
  f = Carried(2, S("PIC") + B({0, 0, 8, 0, 'J', 'P', 'G', 3, 0, 0xFF, 0xD8}));
  EXPECT_EQ(f.id, "APIC");
  EXPECT_EQ(f.body, B({0}) + S("image/jpeg") + B({0, 3, 0, 0xFF, 0xD8}));
  EXPECT_EQ(Carried(2, S("CRM") + B({0, 0, 1, 0})).id, "");
}
