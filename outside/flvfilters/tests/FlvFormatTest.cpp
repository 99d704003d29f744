// The generator and the stand-in filters' reader agree on the FLV layout,
// and Screen Video frames decode to the picture that was written.
#include <gtest/gtest.h>

#include <cstring>

#include "FlvFormat.h"
#include "FlvWriter.h"

using namespace flvstandin;

namespace {

const uint8_t* U(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(FlvFormat, MetadataDurationSitsWhereTheHeaderReaderLooks) {
  TestMovie m;
  m.metaDuration = 123.75;
  const std::string flv = MakeTestMovie(m);
  EXPECT_EQ(flv.find("onMetaData"), 27u);
  EXPECT_EQ(flv.find("duration"), 44u);
  double d = 0;
  uint8_t be[8];
  for (int i = 0; i < 8; ++i) be[i] = U(flv)[60 - i];
  std::memcpy(&d, be, 8);
  EXPECT_EQ(d, 123.75);
}

TEST(FlvFormat, TagsWalkToTheEndAndFramesDecodeToThePicture) {
  TestMovie m;
  m.width = 70;  // blocks at the right and top edges are partial
  m.height = 40;
  m.frames = 3;
  m.zlibLevel = 6;
  const std::string flv = MakeTestMovie(m);
  FileHeader fh;
  ASSERT_TRUE(ParseFileHeader(U(flv), flv.size(), fh));
  EXPECT_TRUE(fh.hasAudio && fh.hasVideo);
  uint64_t at = FirstTagOffset(fh);
  int video = 0, audio = 0;
  const Picture expected = QuadrantPicture(m.width, m.height);
  while (at < flv.size()) {
    TagHeader th;
    ASSERT_TRUE(ParseTagHeader(U(flv) + at, flv.size() - at, th));
    const uint8_t* body = U(flv) + at + kTagHeaderBytes;
    if (th.type == kTagVideo) {
      EXPECT_EQ(th.timestampMs, uint32_t(video * 100));
      std::vector<uint8_t> image;
      ASSERT_TRUE(DecodeScreenFrame(body, th.dataSize, image));
      ASSERT_EQ(image.size(), size_t(m.width * m.height * 4));
      for (int y : {0, 39})  // bottom-up rows
        for (int x : {0, 69}) {
          const uint8_t* px = &image[(size_t(y) * m.width + x) * 4];
          const uint32_t rgb = (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
          EXPECT_EQ(rgb, expected.At(x, m.height - 1 - y)) << x << "," << y;
        }
      ++video;
    } else if (th.type == kTagAudio) {
      PcmFormat f;
      ASSERT_TRUE(ParsePcmFlags(body[0], f));
      EXPECT_EQ(f.rate, 22050u);
      EXPECT_EQ(f.bits, 16);
      EXPECT_EQ(f.channels, 1);
      ++audio;
    }
    at = NextTagOffset(at, th);
  }
  EXPECT_EQ(at, flv.size());
  EXPECT_EQ(video, 3);
  EXPECT_EQ(audio, 3);
}

TEST(FlvFormat, DamagedFramesAreRefused) {
  FlvWriter w(false, true);
  w.ScreenFrame(0, QuadrantPicture(32, 32), 1);
  std::string flv = w.Bytes();
  const size_t body = 13 + kTagHeaderBytes;
  std::vector<uint8_t> image;
  std::string cut = flv.substr(body, 9);
  EXPECT_FALSE(DecodeScreenFrame(U(cut), cut.size(), image));
  std::string bad = flv.substr(body, flv.size() - body - 4);
  bad[9] ^= 0x55;  // inside the zlib stream
  EXPECT_FALSE(DecodeScreenFrame(U(bad), bad.size(), image));
}

}  // namespace
