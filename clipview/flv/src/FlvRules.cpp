#include "flv/FlvRules.h"

#include <cmath>
#include <cstring>

namespace clipview {

namespace {

// Where `needle` starts at or after `from`, searching no further than the
// first zero byte (the head is read as a C string).
bool FoundFrom(const unsigned char* head, size_t n, size_t from, const char* needle) {
  const size_t len = std::strlen(needle);
  size_t end = from;
  while (end < n && head[end] != 0) ++end;
  for (size_t at = from; at + len <= end; ++at)
    if (std::memcmp(head + at, needle, len) == 0) return true;
  return false;
}

}  // namespace

unsigned FlvHeaderDuration(const unsigned char* head, size_t n) {
  if (n > kFlvHeadBytes) n = kFlvHeadBytes;
  if (n < 61 || !FoundFrom(head, n, 0, "FLV") || !FoundFrom(head, n, 26, "onMetaData") ||
      !FoundFrom(head, n, 44, "duration"))
    return 0;
  uint64_t bits = 0;
  for (size_t i = 53; i <= 60; ++i) bits = (bits << 8) | head[i];
  double seconds;
  std::memcpy(&seconds, &bits, sizeof seconds);
  if (!(seconds >= 0) || seconds > kMaxDurationSeconds) return 0;  // also NaN
  return unsigned(std::floor(seconds));
}

DurationChoice ChooseDuration(long long graphSeconds, const unsigned char* head, size_t n) {
  DurationChoice c;
  if (graphSeconds > 0 && graphSeconds <= kMaxDurationSeconds) {
    c.seconds = unsigned(graphSeconds);
    c.seekable = true;
    return c;
  }
  c.seconds = FlvHeaderDuration(head, n);
  return c;
}

long VolumeToAttenuation(double percent) {
  if (!(percent > 0)) percent = 0;
  if (percent > 100) percent = 100;
  return long(percent * 50) - 5000;
}

long AttenuationToVolume(long hundredthsOfDb) { return hundredthsOfDb / 100 + 100; }

PictureRect FitPicture(long w, long h, long nw, long nh) {
  PictureRect r{0, 0, w, h};
  if (nw <= 0 || nh <= 0 || w <= 0 || h <= 0) return r;
  const double aspect = double(nw) / double(nh);
  if (w / aspect > h) {
    r.width = long(aspect * h);
    r.left = (w - r.width) / 2;
  } else {
    r.height = long(w / aspect);
    r.top = (h - r.height) / 2;
  }
  return r;
}

ResumeKind DecideResume(const BufferingInput& in) {
  if (in.finished) return ResumeKind::Playing;
  const uint64_t usable = in.usablePercent, play = in.playSeconds;
  if (in.durationSeconds) {
    return play * 100 + 2000 < uint64_t(in.durationSeconds) * usable ? ResumeKind::Playing : ResumeKind::Stay;
  }
  return play * 4000000 + 80000000 < uint64_t(in.totalSize) * usable ? ResumeKind::Buffering : ResumeKind::Stay;
}

bool DecidePause(const BufferingInput& in) {
  if (!in.downloading) return false;
  const uint64_t usable = in.usablePercent, play = in.playSeconds;
  if (in.durationSeconds) return usable * in.durationSeconds < play * 100 + 1000;
  return uint64_t(in.totalSize) * usable < play * 4000000 + 40000000;
}

}  // namespace clipview
