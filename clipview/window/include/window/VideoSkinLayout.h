#pragma once
// Where the MV window's pieces sit for a window size, and the sizes of the
// skin bitmaps that fill them (the skin generator draws them at these
// sizes; the window stretches the frame pieces).
namespace clipview {

struct SkinRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

namespace skin {
constexpr int kTopHeight = 34;        // the top strip (tabs and window buttons)
constexpr int kBottomHeight = 58;     // the bottom panel (progress, play controls, status)
constexpr int kBorder = 4;            // left and right edges
constexpr int kTopLeftWidth = 170;    // "top-left.bmp"
constexpr int kTopRightWidth = 100;   // "top-right.bmp"
constexpr int kTabWidth = 72, kTabHeight = 24;
constexpr int kTitleButton = 18;      // close, mini, normal, large, lock
constexpr int kPlayButton = 26;       // play, pause, stop
constexpr int kMuteButton = 20;
constexpr int kLinkWidth = 44, kLinkHeight = 20;  // more, fdbk
constexpr int kBarHeight = 8;         // the progress bar
constexpr int kVolumeWidth = 32, kVolumeHeight = 6, kVolumeThumbWidth = 4, kVolumeThumbHeight = 10;
constexpr int kDefaultWidth = 520, kDefaultHeight = 420;
constexpr int kMinWidth = 420, kMinHeight = 240;
}  // namespace skin

struct VideoLayout {
  SkinRect content;  // the video window and the two Flash hosts
  SkinRect tabVideo, tabPicture;
  SkinRect hold, minimize, normalLarge, close;
  SkinRect playPause, stop, mute, more, feedback;
  SkinRect progress, volume, statusText, timeText;
};

VideoLayout LayoutVideoWindow(int width, int height);

}  // namespace clipview
