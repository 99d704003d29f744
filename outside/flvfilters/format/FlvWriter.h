#pragma once
// Writes FLV files for the tests and the demo: an onMetaData script tag
// whose first property is "duration", Screen Video frames and linear PCM
// audio, interleaved by time.
#include <cstdint>
#include <string>
#include <vector>

namespace flvstandin {

// A picture in top-down rows of 0xRRGGBB values.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[size_t(y) * width + x]; }
};

// Four quadrants: red top-left, green top-right, blue bottom-left, white
// bottom-right; the frame index moves nothing, so any frame is the known one.
Picture QuadrantPicture(int width, int height);

class FlvWriter {
 public:
  FlvWriter(bool audio, bool video);
  // The metadata tag; duration first, then width and height when given.
  void MetaData(double durationSeconds, int width = 0, int height = 0);
  // zlibLevel 0 stores the pixels (large files for download tests).
  void ScreenFrame(uint32_t timestampMs, const Picture& picture, int zlibLevel);
  // 16-bit mono little-endian PCM at 22050 Hz.
  void PcmAudio(uint32_t timestampMs, const std::vector<int16_t>& samples);
  const std::string& Bytes() const { return bytes_; }

 private:
  void Tag(uint8_t type, uint32_t timestampMs, const std::string& body);
  std::string bytes_;
};

struct TestMovie {
  int width = 160, height = 120;
  int fps = 10;
  int frames = 20;
  bool audio = true;
  bool metadata = true;
  double metaDuration = -1;  // < 0: frames / fps
  int zlibLevel = 0;
  // Timestamp of the last video frame when >= 0 (a jump, for long durations).
  int64_t lastFrameMs = -1;
};
std::string MakeTestMovie(const TestMovie& movie);

}  // namespace flvstandin
