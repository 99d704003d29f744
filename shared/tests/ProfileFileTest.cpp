// ProfileFile round trips through the Windows profile functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "TestFiles.h"
#include "shared/ProfileFile.h"

using namespace zltest;

namespace {
class ProfileFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.File("settings.ini"); }
  TempDir dir_;
};
}  // namespace

TEST_F(ProfileFileTest, TextRoundTripsAndDefaults) {
  ProfileFile ini(Path());
  EXPECT_STREQ(ini.Path(), Path().c_str());
  EXPECT_EQ(ini.ReadText("Style", "Face", "Arial"), "Arial");
  EXPECT_EQ(ini.ReadText("Style", "Face", nullptr), "");
  ASSERT_TRUE(ini.WriteText("Style", "Face", "宋体"));
  EXPECT_EQ(ini.ReadText("Style", "Face", "Arial"), "宋体");
  ASSERT_TRUE(ini.WriteText("Style", "Empty", nullptr));
  EXPECT_EQ(ini.ReadText("Style", "Empty", "dflt"), "");
  EXPECT_NE(ReadWholeFile(Path()).find("Empty="), std::string::npos);
}

TEST_F(ProfileFileTest, NullSectionOrKeyGivesTheDefaultOnly) {
  ProfileFile ini(Path());
  ASSERT_TRUE(ini.WriteText("A", "k", "v"));
  EXPECT_EQ(ini.ReadText(nullptr, "k", "d"), "d");
  EXPECT_EQ(ini.ReadText("A", nullptr, "d"), "d");  // not the list of key names
  EXPECT_FALSE(ini.WriteText("A", nullptr, "v"));   // would delete the section
  EXPECT_EQ(ini.ReadText("A", "k", "d"), "v");
}

TEST_F(ProfileFileTest, LongTextIsReturnedWhole) {
  ProfileFile ini(Path());
  for (size_t length : {511u, 512u, 513u, 1023u, 1024u, 1500u, 5000u}) {
    std::string value;
    for (size_t i = 0; i < length; ++i) value += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(ini.WriteText("Long", "v", value.c_str()));
    EXPECT_EQ(ini.ReadText("Long", "v"), value) << length;
  }
}

TEST_F(ProfileFileTest, TextIntoACallerBufferNeverSplitsACharacter) {
  ProfileFile ini(Path());
  ASSERT_TRUE(ini.WriteText("S", "k", "ab宋体"));  // "ab" and two GBK pairs
  char buf[8];
  std::memset(buf, 'Q', sizeof buf);
  EXPECT_EQ(ini.ReadText("S", "k", buf, 4), 2u);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(ini.ReadText("S", "k", buf, 5), 4u);
  EXPECT_STREQ(buf, "ab\xCB\xCE");
  EXPECT_EQ(ini.ReadText("S", "k", buf, sizeof buf), 6u);
  EXPECT_EQ(ini.ReadText("S", "missing", buf, sizeof buf, "dflt"), 4u);
  EXPECT_STREQ(buf, "dflt");
}

TEST_F(ProfileFileTest, IntegersInEveryBase) {
  ProfileFile ini(Path());
  EXPECT_EQ(ini.ReadInt("N", "x", 17), 17);
  for (int base : {2, 8, 10, 16}) {
    for (int value : {0, 1, 255, -5, 123456789}) {
      ASSERT_TRUE(ini.WriteInt("N", "x", value, base));
      EXPECT_EQ(ini.ReadInt("N", "x", 17, base), value) << base << " " << value;
    }
  }
  ASSERT_TRUE(ini.WriteInt("N", "bin", 5, 2));
  ASSERT_TRUE(ini.WriteInt("N", "oct", 8, 8));
  ASSERT_TRUE(ini.WriteInt("N", "hex", 255, 16));
  ASSERT_TRUE(ini.WriteInt("N", "dec", -42));
  ASSERT_TRUE(ini.WriteInt("N", "odd", 42, 3));
  EXPECT_EQ(ini.ReadText("N", "bin"), "101");
  EXPECT_EQ(ini.ReadText("N", "oct"), "10");
  EXPECT_EQ(ini.ReadText("N", "hex"), "FF");
  EXPECT_EQ(ini.ReadText("N", "dec"), "-42");
  EXPECT_EQ(ini.ReadText("N", "odd"), "42");
  ASSERT_TRUE(ini.WriteText("N", "mixed", "12abc"));
  EXPECT_EQ(ini.ReadInt("N", "mixed", 0), 12);
  ASSERT_TRUE(ini.WriteText("N", "ff", "ff"));
  EXPECT_EQ(ini.ReadInt("N", "ff", 0, 16), 255);
  ASSERT_TRUE(ini.WriteText("N", "empty", ""));
  EXPECT_EQ(ini.ReadInt("N", "empty", 9), 9);
}

TEST_F(ProfileFileTest, BooleansWrittenAsOneAndZero) {
  ProfileFile ini(Path());
  EXPECT_TRUE(ini.ReadBool("B", "x", true));
  EXPECT_FALSE(ini.ReadBool("B", "x", false));
  ASSERT_TRUE(ini.WriteBool("B", "on", true));
  ASSERT_TRUE(ini.WriteBool("B", "off", false));
  EXPECT_EQ(ini.ReadText("B", "on"), "1");
  EXPECT_EQ(ini.ReadText("B", "off"), "0");
  EXPECT_TRUE(ini.ReadBool("B", "on", false));
  EXPECT_FALSE(ini.ReadBool("B", "off", true));
  ASSERT_TRUE(ini.WriteText("B", "yes", "YES"));
  EXPECT_TRUE(ini.ReadBool("B", "yes", false));
  ASSERT_TRUE(ini.WriteText("B", "word", "enabled"));
  EXPECT_FALSE(ini.ReadBool("B", "word", true));
}

TEST_F(ProfileFileTest, ByteRecordsAsUpperCaseHex) {
  ProfileFile ini(Path());
  const unsigned char data[] = {0x00, 0x7f, 0x80, 0xab, 0xff};
  ASSERT_TRUE(ini.WriteBytes("GUI", "Data", data, sizeof data));
  EXPECT_EQ(ini.ReadText("GUI", "Data"), "007F80ABFF");
  EXPECT_EQ(ini.ReadBytes("GUI", "Data", nullptr, 0), 5u);
  unsigned char out[8];
  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(ini.ReadBytes("GUI", "Data", out, sizeof out), 5u);
  EXPECT_EQ(std::memcmp(out, data, sizeof data), 0);
  EXPECT_EQ(out[5], 0xEE);
  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(ini.ReadBytes("GUI", "Data", out, 2, 3), 2u);
  EXPECT_EQ(out[0], 0xab);
  EXPECT_EQ(out[1], 0xff);
  EXPECT_EQ(ini.ReadBytes("GUI", "Data", out, 8, 5), 0u);

  // A long record (more than one read buffer of hex text).
  unsigned char big[700];
  for (size_t i = 0; i < sizeof big; ++i) big[i] = static_cast<unsigned char>(i * 7);
  ASSERT_TRUE(ini.WriteBytes("GUI", "Big", big, sizeof big));
  unsigned char back[700] = {};
  EXPECT_EQ(ini.ReadBytes("GUI", "Big", back, sizeof back), sizeof big);
  EXPECT_EQ(std::memcmp(back, big, sizeof big), 0);
}

TEST_F(ProfileFileTest, ByteRecordsWithOddOrNonHexContent) {
  ProfileFile ini(Path());
  unsigned char out[4] = {};
  ASSERT_TRUE(ini.WriteText("GUI", "Odd", "a1B"));
  EXPECT_EQ(ini.ReadBytes("GUI", "Odd", out, sizeof out), 1u);
  EXPECT_EQ(out[0], 0xa1);
  ASSERT_TRUE(ini.WriteText("GUI", "Bad", "00G1"));
  EXPECT_EQ(ini.ReadBytes("GUI", "Bad", out, sizeof out), 0u);
  EXPECT_EQ(ini.ReadBytes("GUI", "Bad", nullptr, 0), 0u);
  EXPECT_EQ(ini.ReadBytes("GUI", "Missing", out, sizeof out), 0u);
}

TEST_F(ProfileFileTest, WordPairWithFallback) {
  ProfileFile ini(Path());
  int32_t x = 0, y = 0;
  EXPECT_FALSE(ini.ReadWordPair("GUI", "Dialog Position", x, y, 10, 20));
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
  ASSERT_TRUE(ini.WriteWordPair("GUI", "Dialog Position", -3, 400));
  EXPECT_EQ(ini.ReadText("GUI", "Dialog Position"), "FDFFFFFF90010000");
  EXPECT_TRUE(ini.ReadWordPair("GUI", "Dialog Position", x, y, 10, 20));
  EXPECT_EQ(x, -3);
  EXPECT_EQ(y, 400);
  ASSERT_TRUE(ini.WriteText("GUI", "Dialog Size", "01000000020000"));  // 7 bytes
  EXPECT_FALSE(ini.ReadWordPair("GUI", "Dialog Size", x, y, 1, 2));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
}

TEST_F(ProfileFileTest, SectionDelete) {
  ProfileFile ini(Path());
  ASSERT_TRUE(ini.WriteText("Gone", "a", "1"));
  ASSERT_TRUE(ini.WriteText("Gone", "b", "2"));
  ASSERT_TRUE(ini.WriteText("Kept", "a", "3"));
  ASSERT_TRUE(ini.DeleteSection("Gone"));
  EXPECT_EQ(ini.ReadText("Gone", "a", "none"), "none");
  EXPECT_EQ(ini.ReadText("Gone", "b", "none"), "none");
  EXPECT_EQ(ini.ReadText("Kept", "a"), "3");
  EXPECT_EQ(ReadWholeFile(Path()).find("[Gone]"), std::string::npos);
  EXPECT_FALSE(ini.DeleteSection(nullptr));
}
