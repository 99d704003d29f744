#include "window/VideoSkinLayout.h"

namespace clipview {
namespace {
SkinRect At(int x, int y, int w, int h) { return SkinRect{x, y, x + w, y + h}; }
}  // namespace

VideoLayout LayoutVideoWindow(int w, int h) {
  using namespace skin;
  VideoLayout l;
  l.content = SkinRect{kBorder, kTopHeight, w - kBorder, h - kBottomHeight};
  l.tabVideo = At(12, 7, kTabWidth, kTabHeight);
  l.tabPicture = At(12 + kTabWidth + 4, 7, kTabWidth, kTabHeight);
  const int titleY = (kTopHeight - kTitleButton) / 2;
  l.close = At(w - 8 - kTitleButton, titleY, kTitleButton, kTitleButton);
  l.normalLarge = At(l.close.left - 4 - kTitleButton, titleY, kTitleButton, kTitleButton);
  l.minimize = At(l.normalLarge.left - 4 - kTitleButton, titleY, kTitleButton, kTitleButton);
  l.hold = At(l.minimize.left - 4 - kTitleButton, titleY, kTitleButton, kTitleButton);

  const int panel = h - kBottomHeight;
  l.progress = SkinRect{12, panel + 8, w - 12, panel + 8 + kBarHeight};
  const int row = panel + 22;
  l.playPause = At(10, row, kPlayButton, kPlayButton);
  l.stop = At(40, row, kPlayButton, kPlayButton);
  l.feedback = At(w - 10 - kLinkWidth, row + 3, kLinkWidth, kLinkHeight);
  l.more = At(l.feedback.left - 4 - kLinkWidth, row + 3, kLinkWidth, kLinkHeight);
  l.volume = At(l.more.left - 10 - kVolumeWidth, row + 10, kVolumeWidth, kVolumeHeight);
  l.mute = At(l.volume.left - 6 - kMuteButton, row + 3, kMuteButton, kMuteButton);
  l.timeText = SkinRect{l.mute.left - 100, row + 4, l.mute.left - 6, row + 22};
  l.statusText = SkinRect{74, row + 4, l.timeText.left - 4, row + 22};
  return l;
}

}  // namespace clipview
