#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shared/ProfileText.h"

using namespace zl;

TEST(ProfileInt, BaseTwoEightSixteenAsGivenElseTen) {
  EXPECT_EQ(ParseProfileInt("12abc", 0, 10), 12);
  EXPECT_EQ(ParseProfileInt("ff", 0, 16), 255);
  EXPECT_EQ(ParseProfileInt("0xFF", 0, 16), 255);
  EXPECT_EQ(ParseProfileInt("101", 0, 2), 5);
  EXPECT_EQ(ParseProfileInt("17", 0, 8), 15);
  EXPECT_EQ(ParseProfileInt("17", 0, 7), 17);   // unknown base means 10
  EXPECT_EQ(ParseProfileInt("ff", 0, 36), 0);   // not decimal at all
  EXPECT_EQ(ParseProfileInt("  42", 0, 10), 42);
}

TEST(ProfileInt, EmptyGivesTheDefault) {
  EXPECT_EQ(ParseProfileInt("", -7, 10), -7);
  EXPECT_EQ(ParseProfileInt("x", -7, 10), 0);  // present but not a number
}

TEST(ProfileInt, BehavesLikeThe32BitStrtoul) {
  EXPECT_EQ(ParseProfileInt("-5", 0, 10), -5);
  EXPECT_EQ(ParseProfileInt("4294967295", 0, 10), -1);
  EXPECT_EQ(ParseProfileInt("4294967296", 0, 10), -1);  // overflow saturates
  EXPECT_EQ(ParseProfileInt("99999999999999999999", 0, 10), -1);
  EXPECT_EQ(ParseProfileInt("FFFFFFFF", 0, 16), -1);
}

TEST(ProfileInt, OnlyTheFirst64CharactersCount) {
  const std::string digits = std::string(63, '0') + "7" + "9";
  EXPECT_EQ(ParseProfileInt(digits, 0, 10), 7);
}

TEST(ProfileInt, WrittenFormRoundTrips) {
  EXPECT_EQ(FormatProfileInt(5, 2), "101");
  EXPECT_EQ(FormatProfileInt(0, 2), "0");
  EXPECT_EQ(FormatProfileInt(-1, 2), std::string(32, '1'));
  EXPECT_EQ(FormatProfileInt(15, 8), "17");
  EXPECT_EQ(FormatProfileInt(255, 16), "FF");
  EXPECT_EQ(FormatProfileInt(-42, 10), "-42");
  EXPECT_EQ(FormatProfileInt(42, 3), "42");
  for (int base : {2, 8, 10, 16}) {
    for (int v : {0, 1, 77, -1, -123456, 2147483647}) {
      EXPECT_EQ(ParseProfileInt(FormatProfileInt(v, base), 99, base), v) << base << " " << v;
    }
  }
}

TEST(ProfileBool, TrueFormsFalseFormsAndDefault) {
  EXPECT_TRUE(ParseProfileBool("", true));
  EXPECT_FALSE(ParseProfileBool("", false));
  for (const char* t : {"1", "true", "TRUE", "Yes", "yes", "12", "-1"}) EXPECT_TRUE(ParseProfileBool(t, false)) << t;
  for (const char* f : {"0", "no", "false", "on", "yess", "x1"}) EXPECT_FALSE(ParseProfileBool(f, true)) << f;
}

TEST(HexRecord, EncodesTwoUpperCaseDigitsPerByte) {
  const unsigned char data[] = {0x00, 0x0f, 0xA5, 0xff};
  EXPECT_EQ(EncodeHexRecord(data, sizeof data), "000FA5FF");
  EXPECT_EQ(EncodeHexRecord(nullptr, 0), "");
}

TEST(HexRecord, DecodesEitherCaseFromAnOffset) {
  unsigned char out[8];
  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(ReadHexRecord("000fa5FF", out, sizeof out, 0), 4u);
  EXPECT_EQ(out[0], 0x00);
  EXPECT_EQ(out[1], 0x0F);
  EXPECT_EQ(out[2], 0xA5);
  EXPECT_EQ(out[3], 0xFF);
  EXPECT_EQ(out[4], 0xEE);  // nothing beyond the record

  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(ReadHexRecord("000fa5FF", out, 2, 1), 2u);
  EXPECT_EQ(out[0], 0x0F);
  EXPECT_EQ(out[1], 0xA5);
  EXPECT_EQ(out[2], 0xEE);
}

TEST(HexRecord, WithoutABufferCountsWhatIsAvailable) {
  EXPECT_EQ(ReadHexRecord("0102030405", nullptr, 0, 0), 5u);
  EXPECT_EQ(ReadHexRecord("0102030405", nullptr, 0, 3), 2u);
}

TEST(HexRecord, RejectsNonHexShortAndOffsetBeyondTheEnd) {
  unsigned char out[4] = {};
  EXPECT_EQ(ReadHexRecord("01G3", out, 4, 0), 0u);
  EXPECT_EQ(ReadHexRecord("01 02", out, 4, 0), 0u);
  EXPECT_EQ(ReadHexRecord("0x01", out, 4, 0), 0u);
  EXPECT_EQ(ReadHexRecord("", out, 4, 0), 0u);
  EXPECT_EQ(ReadHexRecord("0102", out, 4, 2), 0u);  // must hold more than offset bytes
  EXPECT_EQ(ReadHexRecord("0102", out, 4, 5), 0u);
}

TEST(HexRecord, TrailingOddDigitIsIgnored) {
  unsigned char out[4] = {};
  EXPECT_EQ(ReadHexRecord("ABC", out, 4, 0), 1u);
  EXPECT_EQ(out[0], 0xAB);
  EXPECT_EQ(ReadHexRecord("A", out, 4, 0), 0u);
}

TEST(WordPair, LittleEndianWordsInMemoryOrder) {
  unsigned char record[kWordPairBytes];
  EncodeWordPair(0x01020304, -2, record);
  EXPECT_EQ(EncodeHexRecord(record, sizeof record), "04030201FEFFFFFF");
  int32_t a = 0, b = 0;
  DecodeWordPair(record, a, b);
  EXPECT_EQ(a, 0x01020304);
  EXPECT_EQ(b, -2);
}

TEST(IniLookup, FindsKeysLikeTheProfileFunctions) {
  const std::string ini =
      "; comment\r\n[Other]\r\nLog Fatal=5\r\n[ log ]\r\n  Log Fatal = 0 \r\nLog Screen=\"1\"\r\n"
      "Empty=\r\n";
  std::string v;
  EXPECT_TRUE(FindIniValue(ini, "LOG", "log fatal", v));
  EXPECT_EQ(v, "0");
  EXPECT_TRUE(FindIniValue(ini, "LOG", "Log Screen", v));
  EXPECT_EQ(v, "1");
  EXPECT_TRUE(FindIniValue(ini, "LOG", "Empty", v));
  EXPECT_EQ(v, "");
  EXPECT_FALSE(FindIniValue(ini, "LOG", "Log Debug", v));
  EXPECT_FALSE(FindIniValue(ini, "None", "Log Fatal", v));
  EXPECT_FALSE(FindIniValue(ini, nullptr, "Log Fatal", v));
}
