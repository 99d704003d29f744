#pragma once
// The MV window's decisions that need no system call: the play clock and
// buffering of timer 7, the volume and progress bars, the status line's
// time, where a press lands, which page each Flash host plays, and where a
// saved window goes.
#include <cstdint>
#include <string>

#include "flv/FlvRules.h"
#include "p2p/P2PResource.h"

namespace clipview {

// ---- Timer 7: play clock and buffering ----------------------------------------------

struct PlayClockInput {
  bool paused = false;      // by the rule or by the user
  bool userPaused = false;
  bool seekable = false;
  long graphPosition = 0;   // seconds, read only when seekable
  BufferingInput buffering; // the video slot and the clock
};
struct PlayClockStep {
  unsigned playSeconds = 0;
  bool resume = false;  // run the graph, show Pause, clear paused
  bool pause = false;   // pause the graph, show Play, set paused, clear userPaused
  // The status line after a resume: "正在播放" or "正在缓冲.."; empty: unchanged.
  const char* statusText = nullptr;
};
PlayClockStep PlayClockTick(const PlayClockInput& in);

constexpr char kTextPlaying[] = "正在播放";
constexpr char kTextBuffering[] = "正在缓冲..";
constexpr char kTextSearching[] = "正在查找资源...";

// ---- Bars and the time text ----------------------------------------------------------

// The graph volume for a VolumeValue step: value x 12.5 percent.
inline double VolumePercent(int volumeValue) { return volumeValue * 12.5; }
constexpr int kVolumeSteps = 8;
constexpr int kVolumePixelsPerStep = 4;
// A click at x on a volume bar spanning [left, right): 8 right of it, 0 left
// of it, else 1 + (x - left) / 4.
int VolumeValueFromClick(int x, int barLeft, int barRight);

constexpr int kThumbWidth = 6;
// The target time of a click at x on a progress bar of the given width:
// clamp((x - left) / width, 0, 1) x duration, truncated.
unsigned ProgressTarget(int x, int barLeft, int barWidth, unsigned durationSeconds);
// The thumb's left edge for a time: its share of the width, never closer
// than the thumb's width to the right end.
int ProgressThumbLeft(unsigned playSeconds, unsigned durationSeconds, int barLeft, int barWidth);
// "mm:ss | mm:ss"; the play time reads 00:00 while the duration is unknown.
std::string TimeText(unsigned playSeconds, unsigned durationSeconds);

// ---- The mouse on the window -------------------------------------------------------

enum class ResizeZone { None, Corner, Right, Bottom };
// Within 6 px of the bottom-right corner, 3 px of the right or the bottom edge.
ResizeZone ResizeZoneAt(int x, int y, int width, int height);

constexpr int kTopStripHeight = 34;
constexpr unsigned kCmdNormal = 1015;
constexpr unsigned kCmdLarge = 1016;
// A double-click on the top strip: Large from the normal size, else Normal.
inline unsigned TopStripCommand(bool isNormalSize) { return isNormalSize ? kCmdLarge : kCmdNormal; }
// The video window's forwarded double-click carries this lParam.
constexpr long kVideoDoubleClickParam = -100;

// ---- Pages -------------------------------------------------------------------------

// WM_PLAY for the video on a song without one falls back to the pictures
// while "NOMVSHOW" is below this.
constexpr int kMaxNoVideoFallbacks = 5;

// The picture host's movie: a file name under the swf folder, or empty for
// the pictures slot's own file (status 4).
std::string PicturePageMovie(bool hasPictures, int picturesStatus);
// The status host's movie (a file name under the swf folder).
std::string StatusPageMovie(bool hasVideo, bool decoderInstalled, int videoStatus, int codecStatus);

// ---- The saved place ---------------------------------------------------------------

struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;
};
// A saved position that lies off the screen (negative, or beyond the
// screen's width or height) is replaced by the centred position.
WindowPlace PlaceOnScreen(const WindowPlace& saved, int screenWidth, int screenHeight);

}  // namespace clipview
