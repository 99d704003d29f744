#include "FlashMovie.h"

#include <gtest/gtest.h>

using flashstandin::ReadMovieLook;

namespace {
std::string Tag(unsigned code, const std::string& body) {
  std::string t;
  if (body.size() < 0x3F) {
    const unsigned head = code << 6 | static_cast<unsigned>(body.size());
    t += static_cast<char>(head & 0xFF);
    t += static_cast<char>(head >> 8);
  } else {
    const unsigned head = code << 6 | 0x3F;
    t += static_cast<char>(head & 0xFF);
    t += static_cast<char>(head >> 8);
    for (int i = 0; i < 4; ++i) t += static_cast<char>((body.size() >> (8 * i)) & 0xFF);
  }
  return t + body;
}
// FWS, version 6, a length, a 5-bit-wide rectangle (4 bytes), rate and count.
std::string Head() { return std::string("FWS\x06\0\0\0\0", 8) + std::string("\x28\0\0\0", 4) + std::string("\0\x0c\x01\0", 4); }
}  // namespace

TEST(FlashMovie, BackgroundAndLabel) {
  const std::string movie = Head() + Tag(9, "\x12\x34\x56") + Tag(77, std::string(70, 'x')) + Tag(1, "") + Tag(0, "");
  const auto look = ReadMovieLook(movie);
  EXPECT_TRUE(look.valid);
  EXPECT_EQ(look.background, 0x123456u);
  EXPECT_EQ(look.label, std::string(70, 'x'));
}

TEST(FlashMovie, ForeignOrCutFiles) {
  EXPECT_FALSE(ReadMovieLook("CWS\x06....").valid);
  EXPECT_FALSE(ReadMovieLook("FWS").valid);
  const std::string cut = Head() + Tag(77, std::string(70, 'x')).substr(0, 20);
  const auto look = ReadMovieLook(cut);
  EXPECT_TRUE(look.valid);
  EXPECT_TRUE(look.label.empty());
}
