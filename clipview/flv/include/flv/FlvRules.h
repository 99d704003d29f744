#pragma once
// Platform-neutral rules of MV playback: the duration taken from the FLV
// file's own header, the volume scale, fitting the picture into the video
// window, and the buffering rule that pauses and resumes a video that is
// still downloading.
#include <cstddef>
#include <cstdint>

namespace clipview {

// How many bytes of the file's head ReadFlvDuration looks at.
constexpr size_t kFlvHeadBytes = 256;
// Longer durations count as unknown.
constexpr unsigned kMaxDurationSeconds = 1800;

// The AMF number of the first metadata property (bytes 53 to 60) when the
// head holds "FLV", then "onMetaData" from byte 26 and "duration" from
// byte 44 (each search ends at the first zero byte). Whole seconds; 0 when
// absent, unreadable or above kMaxDurationSeconds.
unsigned FlvHeaderDuration(const unsigned char* head, size_t n);

struct DurationChoice {
  unsigned seconds = 0;   // 0: unknown
  bool seekable = false;  // the graph itself reported it
};
// The graph's duration when it is known and at most kMaxDurationSeconds,
// else the file's header duration (not seekable).
DurationChoice ChooseDuration(long long graphSeconds, const unsigned char* head, size_t n);

// Percent (0..100) to the renderer's hundredths of a decibel, and back.
long VolumeToAttenuation(double percent);
long AttenuationToVolume(long hundredthsOfDb);

struct PictureRect {
  long left = 0, top = 0, width = 0, height = 0;
};
// Keeps the native aspect, centred in the client area.
PictureRect FitPicture(long clientWidth, long clientHeight, long nativeWidth, long nativeHeight);

// The video slot's state as the buffering rule sees it, once per second.
struct BufferingInput {
  bool downloading = false;  // the video slot is at status 3
  bool finished = false;     // the video slot is at status 4
  unsigned playSeconds = 0;
  unsigned durationSeconds = 0;  // 0: unknown
  unsigned usablePercent = 0;
  uint32_t totalSize = 0;
};

enum class ResumeKind { Stay, Playing, Buffering };
// While paused (not by the user): resume when the download is finished or
// leads the play time by more than 20 s (40 000 bytes per second assumed
// without a duration). Playing: the status line says "playing"; Buffering:
// it says "buffering" (no duration known).
ResumeKind DecideResume(const BufferingInput& in);
// While playing and still downloading: pause when the download leads by
// less than 10 s.
bool DecidePause(const BufferingInput& in);

}  // namespace clipview
