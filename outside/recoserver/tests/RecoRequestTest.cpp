// The recognition-server stand-in: its decoding of request bodies and its answers.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "RecoLibrary.h"
#include "RecoRequest.h"

using namespace recoserver;

namespace {

// The test's own encoder: '=' bytes up to a multiple of three, then Base64.
std::string Body(std::string line) {
  static const char k[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  while (line.size() % 3) line += '=';
  std::string out;
  for (size_t i = 0; i < line.size(); i += 3) {
    const uint32_t w = (uint32_t(uint8_t(line[i])) << 16) | (uint32_t(uint8_t(line[i + 1])) << 8) | uint8_t(line[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += k[(w >> s) & 63];
  }
  return out;
}

std::string FpText(uint32_t first, uint32_t rest) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%x", first);
  std::string t = hex;
  for (int i = 1; i < 256; ++i) {
    std::snprintf(hex, sizeof hex, "%x", rest);
    t += std::string("%2C") + hex;
  }
  return t;
}

std::string Line(const std::string& fp) {
  return "10,1.0,0%09meta=mp3|fpmatch stand-in 1|s.mp3|10|16670|16808||s.mp3%09sig=9af0%2C411e%09fp=" + fp +
         "%0D%0A";
}

}  // namespace

TEST(RecoRequest, TenBytesArriveAsTheBase64OfTwelve) {
  std::string bytes;
  ASSERT_TRUE(Base64Decode("YWJjZGVmZ2hpaj09", bytes));
  EXPECT_EQ(bytes, "abcdefghij==");
  EXPECT_FALSE(Base64Decode("YWJjZGVmZ2hpag==", bytes));  // the engine never pads its output
  EXPECT_FALSE(Base64Decode("YWJ", bytes));
}

TEST(RecoRequest, WholeLineIsTakenApart) {
  const std::string line = Line(FpText(0xdeadbeef, 7));
  EXPECT_TRUE(BodyComplete(Body(line)));
  EXPECT_FALSE(BodyComplete(Body(line).substr(0, 400)));
  RecoRequest r;
  std::string error;
  ASSERT_TRUE(DecodeRecoBody(Body(line), r, error)) << error;
  EXPECT_EQ(r.line, line);
  EXPECT_EQ(r.userField, "0,1.0,0");
  ASSERT_EQ(r.meta.size(), 8u);
  EXPECT_EQ(r.meta[0], "mp3");
  EXPECT_EQ(r.meta[5], "16808");
  EXPECT_EQ(r.meta[6], "");
  EXPECT_EQ(r.meta[7], "s.mp3");
  EXPECT_EQ(r.sig[0], 0x9af0u);
  EXPECT_EQ(r.sig[1], 0x411eu);
  EXPECT_EQ(r.fp[0], 0xdeadbeefu);
  EXPECT_EQ(r.fp[255], 7u);
}

TEST(RecoRequest, MalformedLinesAreNamed) {
  RecoRequest r;
  std::string error;
  const std::string good = Line(FpText(1, 2));
  EXPECT_FALSE(DecodeRecoBody(Body(good.substr(0, good.size() - 6)), r, error));
  EXPECT_NE(error.find("%0D%0A"), std::string::npos);
  EXPECT_FALSE(DecodeRecoBody(Body(Line(FpText(1, 2) + "%2C3")), r, error));
  EXPECT_NE(error.find("257"), std::string::npos);
  EXPECT_FALSE(DecodeRecoBody(Body(Line("ABC" + FpText(1, 2).substr(1))), r, error));  // upper-case hex
  EXPECT_FALSE(DecodeRecoBody(Body("2" + good.substr(1)), r, error));
  EXPECT_FALSE(DecodeRecoBody("not base64!", r, error));
}

TEST(RecoLibrary, AnswersTheMatchingSongOrNotKnown) {
  std::string audio;
  for (int i = 0; i < 9000; ++i) audio += static_cast<char>(i * 7 + i / 13);
  const std::map<std::string, std::string> files = {{"lib\\a.mp3", audio}};
  auto read = [&files](const std::string& path, std::string& bytes) {
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  };
  RecoLibrary library;
  std::string error;
  ASSERT_TRUE(library.Load("a.mp3\tTi\tAr\tAl\r\n\r\n", "lib", read, error)) << error;
  fpmatch::SongPrint print;
  ASSERT_TRUE(fpmatch::PrintSong(audio, print));
  RecoRequest request;
  for (int i = 0; i < 256; ++i) request.fp[i] = print.words[i];
  EXPECT_EQ(library.Answer(request), "1\t1000\tTi\tAr\tAl\t256/256\taudio\ta.mp3\tstandin\t256\tstand-in library\n");
  for (int i = 0; i < 100; ++i) request.fp[i] ^= 1;
  EXPECT_EQ(library.Answer(request), "2\n");
  RecoLibrary broken;
  EXPECT_FALSE(broken.Load("missing.mp3\tTi\tAr\tAl\n", "lib", read, error));
  EXPECT_FALSE(broken.Load("a.mp3\tTi\n", "lib", read, error));
}
