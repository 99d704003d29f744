#include "TagData.h"

#include <gtest/gtest.h>

using namespace zl;

namespace {
// The data file as the tag tool writes it: value, then title, artist and
// album fields of 256 bytes in an 1800-byte block.
std::string DataFile(uint32_t value, const std::string& title, const std::string& artist, const std::string& album) {
  std::string f;
  for (int b = 0; b < 4; ++b) f += static_cast<char>((value >> (8 * b)) & 0xFF);
  for (const std::string* s : {&title, &artist, &album}) {
    std::string field = *s;
    field.resize(256, '\0');
    f += field;
  }
  f.resize(1804, '\0');
  return f;
}
}  // namespace

TEST(TagData, NamesFromTheBlock) {
  TagNames n;
  ASSERT_TRUE(ParseTagData(DataFile(1, "Title", "\xD6\xDC\xBD\xDC\xC2\xD7", "Album"), n));
  EXPECT_EQ(n.title, "Title");
  EXPECT_EQ(n.artist, "\xD6\xDC\xBD\xDC\xC2\xD7");
  EXPECT_EQ(n.album, "Album");
  ASSERT_TRUE(ParseTagData(DataFile(1, "", "Only artist", ""), n));
  EXPECT_EQ(n.title, "");
}

TEST(TagData, NoNamesOrDamagedFiles) {
  TagNames n;
  EXPECT_FALSE(ParseTagData(DataFile(0, "", "", ""), n));
  EXPECT_FALSE(ParseTagData(DataFile(1, "", "", ""), n));
  EXPECT_FALSE(ParseTagData(DataFile(2, "T", "A", "L"), n));
  EXPECT_FALSE(ParseTagData(DataFile(1, "T", "A", "L").substr(0, 1803), n));
  EXPECT_FALSE(ParseTagData("", n));
  // A field without its NUL ends at the field's end.
  std::string f = DataFile(1, std::string(256, 't'), "A", "L");
  ASSERT_TRUE(ParseTagData(f, n));
  EXPECT_EQ(n.title, std::string(256, 't'));
  EXPECT_EQ(n.artist, "A");
}
