#include "window/VideoDlgRules.h"

#include <cstdio>

namespace clipview {

PlayClockStep PlayClockTick(const PlayClockInput& in) {
  PlayClockStep step;
  step.playSeconds = in.buffering.playSeconds;
  if (in.paused) {
    if (in.userPaused) return step;
    switch (DecideResume(in.buffering)) {
      case ResumeKind::Stay:
        break;
      case ResumeKind::Playing:
        step.resume = true;
        step.statusText = kTextPlaying;
        break;
      case ResumeKind::Buffering:
        step.resume = true;
        step.statusText = kTextBuffering;
        break;
    }
    return step;
  }
  if (in.seekable) {
    step.playSeconds = in.graphPosition > 0 ? static_cast<unsigned>(in.graphPosition) : 0;
    return step;
  }
  ++step.playSeconds;
  BufferingInput now = in.buffering;
  now.playSeconds = step.playSeconds;
  step.pause = DecidePause(now);
  return step;
}

int VolumeValueFromClick(int x, int barLeft, int barRight) {
  if (x >= barRight) return kVolumeSteps;
  if (x < barLeft) return 0;
  const int value = 1 + (x - barLeft) / kVolumePixelsPerStep;
  return value > kVolumeSteps ? kVolumeSteps : value;
}

unsigned ProgressTarget(int x, int barLeft, int barWidth, unsigned durationSeconds) {
  if (barWidth <= 0) return 0;
  double share = static_cast<double>(x - barLeft) / barWidth;
  if (share < 0) share = 0;
  if (share > 1) share = 1;
  return static_cast<unsigned>(share * durationSeconds);
}

int ProgressThumbLeft(unsigned playSeconds, unsigned durationSeconds, int barLeft, int barWidth) {
  int offset = 0;
  if (durationSeconds > 0 && barWidth > 0) {
    const double share = playSeconds >= durationSeconds ? 1.0 : static_cast<double>(playSeconds) / durationSeconds;
    offset = static_cast<int>(share * barWidth);
  }
  const int last = barWidth - kThumbWidth;
  if (offset > last) offset = last;
  if (offset < 0) offset = 0;
  return barLeft + offset;
}

std::string TimeText(unsigned playSeconds, unsigned durationSeconds) {
  if (durationSeconds == 0) playSeconds = 0;
  char text[40];
  std::snprintf(text, sizeof text, "%02u:%02u | %02u:%02u", playSeconds / 60, playSeconds % 60, durationSeconds / 60,
                durationSeconds % 60);
  return text;
}

ResizeZone ResizeZoneAt(int x, int y, int width, int height) {
  if (x >= width - 6 && y >= height - 6 && x < width && y < height) return ResizeZone::Corner;
  if (x >= width - 3 && x < width) return ResizeZone::Right;
  if (y >= height - 3 && y < height) return ResizeZone::Bottom;
  return ResizeZone::None;
}

std::string PicturePageMovie(bool hasPictures, int picturesStatus) {
  if (!hasPictures || picturesStatus == kStatusFailed) return "serverbusy.swf";
  if (picturesStatus == kStatusFinished) return "";
  if (picturesStatus == kStatusNetworkError || picturesStatus == kStatusNoPeer) return "neterror.swf";
  return "load.swf";
}

std::string StatusPageMovie(bool hasVideo, bool decoderInstalled, int videoStatus, int codecStatus) {
  if (!hasVideo) return "nomtv.swf";
  const int status = decoderInstalled ? videoStatus : codecStatus;
  switch (status) {
    case kStatusFailed:
      return "serverbusy.swf";
    case kStatusNetworkError:
      return "neterror.swf";
    case kStatusNoPeer:
      return "nores.swf";
    default:
      return decoderInstalled ? "load.swf" : "FlvCodecDownloading.swf";
  }
}

WindowPlace PlaceOnScreen(const WindowPlace& saved, int screenWidth, int screenHeight) {
  WindowPlace place = saved;
  if (saved.x < 0 || saved.y < 0 || saved.x > screenWidth || saved.y > screenHeight) {
    place.x = (screenWidth - saved.width) / 2;
    place.y = (screenHeight - saved.height) / 2;
  }
  return place;
}

}  // namespace clipview
