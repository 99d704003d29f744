// Duration from the FLV header, volume scale, picture fitting and the
// buffering rule, with the numbers the MV window's behaviour is known by.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "flv/FlvRules.h"

using namespace clipview;

namespace {

// The head an FLV writer puts first: file header, onMetaData with duration
// as the first property of its array.
std::string Head(double duration) {
  std::string h("FLV\x01\x05\x00\x00\x00\x09\x00\x00\x00\x00", 13);
  h += std::string("\x12\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00", 11);  // script tag header
  h += std::string("\x02\x00\x0a", 3) + "onMetaData";
  h += std::string("\x08\x00\x00\x00\x01\x00\x08", 7) + "duration";
  h += '\0';
  uint64_t bits;
  std::memcpy(&bits, &duration, 8);
  for (int i = 7; i >= 0; --i) h += char(bits >> (8 * i));
  h += std::string(256 - h.size(), '\x09');
  return h;
}

const unsigned char* U(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

TEST(FlvDuration, MetadataDurationRoundsDownAndLongOnesAreUnknown) {
  EXPECT_EQ(Head(0).find("duration"), 44u);
  EXPECT_EQ(FlvHeaderDuration(U(Head(213.9)), 256), 213u);
  EXPECT_EQ(FlvHeaderDuration(U(Head(1800)), 256), 1800u);
  EXPECT_EQ(FlvHeaderDuration(U(Head(1801)), 256), 0u);
  EXPECT_EQ(FlvHeaderDuration(U(Head(-3)), 256), 0u);
  EXPECT_EQ(FlvHeaderDuration(U(Head(std::nan(""))), 256), 0u);
}

TEST(FlvDuration, EachNameMustBeFoundWhereTheReaderLooks) {
  std::string h = Head(90);
  EXPECT_EQ(FlvHeaderDuration(U(h), 60), 0u);  // too short for the number
  std::string noFlv = h;
  noFlv[0] = 'X';
  EXPECT_EQ(FlvHeaderDuration(U(noFlv), 256), 0u);
  std::string zeroBefore = h;
  zeroBefore[30] = '\0';  // inside "onMetaData": that search ends there
  EXPECT_EQ(FlvHeaderDuration(U(zeroBefore), 256), 0u);
  std::string otherFirst = h;
  otherFirst.replace(44, 8, "width\0\0\0", 8);
  EXPECT_EQ(FlvHeaderDuration(U(otherFirst), 256), 0u);
}

TEST(FlvDuration, TheGraphsDurationWinsAndOnlyItIsSeekable) {
  const std::string h = Head(200);
  DurationChoice c = ChooseDuration(0, U(h), h.size());
  EXPECT_EQ(c.seconds, 200u);
  EXPECT_FALSE(c.seekable);
  c = ChooseDuration(57, U(h), h.size());
  EXPECT_EQ(c.seconds, 57u);
  EXPECT_TRUE(c.seekable);
  c = ChooseDuration(1801, U(h), h.size());
  EXPECT_EQ(c.seconds, 200u);
  EXPECT_FALSE(c.seekable);
  const std::string longHead = Head(1801);
  c = ChooseDuration(0, U(longHead), longHead.size());
  EXPECT_EQ(c.seconds, 0u);
}

TEST(FlvVolume, PercentMapsToHundredthsOfDecibels) {
  EXPECT_EQ(VolumeToAttenuation(100), 0);
  EXPECT_EQ(VolumeToAttenuation(0), -5000);
  EXPECT_EQ(VolumeToAttenuation(12.5), -4375);
  EXPECT_EQ(VolumeToAttenuation(250), 0);
  EXPECT_EQ(VolumeToAttenuation(-1), -5000);
  EXPECT_EQ(AttenuationToVolume(-10000), 0);
  EXPECT_EQ(AttenuationToVolume(0), 100);
  EXPECT_EQ(AttenuationToVolume(-5000), 50);
}

TEST(FlvPicture, FitKeepsTheAspectCentred) {
  PictureRect r = FitPicture(400, 400, 160, 120);  // wide picture: bars above and below
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.width, 400);
  EXPECT_EQ(r.height, 300);
  EXPECT_EQ(r.top, 50);
  r = FitPicture(800, 300, 160, 120);  // wide window: bars left and right
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.height, 300);
  EXPECT_EQ(r.width, 400);
  EXPECT_EQ(r.left, 200);
  r = FitPicture(320, 200, 0, 0);  // no native size yet: the whole area
  EXPECT_EQ(r.width, 320);
  EXPECT_EQ(r.height, 200);
}

TEST(Buffering, KnownDurationPausesBelowTenSecondsLeadAndResumesAboveTwenty) {
  BufferingInput in;
  in.downloading = true;
  in.durationSeconds = 200;
  in.usablePercent = 50;
  in.playSeconds = 90;
  EXPECT_FALSE(DecidePause(in));  // 10000 is not below 10000
  in.playSeconds = 91;
  EXPECT_TRUE(DecidePause(in));  // 10000 < 10100
  in.usablePercent = 55;
  EXPECT_EQ(DecideResume(in), ResumeKind::Stay);  // 11000 is not above 11100
  in.usablePercent = 56;
  EXPECT_EQ(DecideResume(in), ResumeKind::Playing);
  in.downloading = false;
  EXPECT_FALSE(DecidePause(in));
}

TEST(Buffering, UnknownDurationAssumesFortyThousandBytesASecond) {
  BufferingInput in;
  in.downloading = true;
  in.totalSize = 4000000;
  in.usablePercent = 20;  // 800 000 bytes: 20 s at the assumed rate
  in.playSeconds = 10;    // lead 10 s: 80 000 000 is not below 80 000 000
  EXPECT_FALSE(DecidePause(in));
  in.playSeconds = 11;
  EXPECT_TRUE(DecidePause(in));
  in.usablePercent = 41;  // 164 000 000 > 11 * 4 000 000 + 80 000 000
  EXPECT_EQ(DecideResume(in), ResumeKind::Buffering);
  in.usablePercent = 31;  // 124 000 000 = 124 000 000
  EXPECT_EQ(DecideResume(in), ResumeKind::Stay);
  in.finished = true;
  EXPECT_EQ(DecideResume(in), ResumeKind::Playing);
}

TEST(Buffering, LargeFilesDoNotOverflow) {
  BufferingInput in;
  in.downloading = true;
  in.totalSize = 0xF0000000u;
  in.usablePercent = 100;
  in.playSeconds = 1000;
  EXPECT_FALSE(DecidePause(in));
  EXPECT_EQ(DecideResume(in), ResumeKind::Buffering);
}

}  // namespace
