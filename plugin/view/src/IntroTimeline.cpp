#include "view/IntroTimeline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFadeInMs = 1500;
constexpr int kEdgeRampMs = 3000;
constexpr int kMaxEdgeBand = 30;
constexpr int kStripHeight = 80;
constexpr int kStripMinWindow = 120;

double Ease(double f) { return (1.0 - std::cos(kPi * f)) / 2.0; }

double Clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

}  // namespace

double EdgeFadeValue(int p) {
  if (p < kIntroEndMs) return 0.0;
  if (p > kIntroEndMs + kEdgeRampMs) return 1.0;
  return Ease(static_cast<double>(p - kIntroEndMs) / kEdgeRampMs);
}

int EdgeBand(int p) { return static_cast<int>(std::trunc(kMaxEdgeBand * EdgeFadeValue(p))); }

StripSlide SlideStrip(const ViewRect& lyricRect, bool stripHasItems, int p) {
  StripSlide out{lyricRect, ViewRect{0, 0, 0, 0}};
  const int height = Height(lyricRect);
  if (height <= kStripHeight) return out;
  const double s = (stripHasItems && height >= kStripMinWindow) ? EdgeFadeValue(p) : 0.0;
  const int bottom = static_cast<int>(std::trunc(lyricRect.bottom - kStripHeight * s));
  out.lyricRect.bottom = bottom;
  out.stripRect = ViewRect{lyricRect.left, bottom, lyricRect.right, bottom + kStripHeight};
  return out;
}

PictureAlpha BackgroundPictureAlpha(int p, double minimum) {
  const double floor = Clamp01(minimum);
  PictureAlpha a{};
  if (p < kFadeInMs) {
    a = {Ease(static_cast<double>(p) / kFadeInMs), true};
  } else if (p < kIntroEndMs) {
    a = {1.0, false};
  } else if (p <= kIntroEndMs + kEdgeRampMs) {
    a = {1.0 - Ease(static_cast<double>(p - kIntroEndMs) / kEdgeRampMs), true};
  } else {
    a = {floor, false};
  }
  a.alpha = std::max(floor, Clamp01(a.alpha));
  return a;
}

int AlphaByte(double alpha) { return static_cast<int>(std::trunc(255.0 * Clamp01(alpha))); }
