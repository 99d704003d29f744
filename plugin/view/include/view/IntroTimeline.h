#pragma once
// The small animation at the start of a song, as a function of the play
// position alone: the background picture fades in and back down to its
// resting brightness, the dark edge band grows, and the picture strip
// slides up under the lyrics.
#include "view/ViewGeometry.h"

// Before this position the intro owns the window; edge fade and time marker start after it.
constexpr int kIntroEndMs = 3500;

// 0 before 3.5 s, 1 after 6.5 s, a cosine ramp between.
double EdgeFadeValue(int positionMs);

// Height of the dark fade at top and bottom, 0..30 px.
int EdgeBand(int positionMs);

struct StripSlide {
  ViewRect lyricRect;  // the lyric area above the strip
  ViewRect stripRect;  // all zero when the window is too low for a strip at all
};

// Windows of 80 px or less never get a strip; a strip needs 120 px and items to show.
StripSlide SlideStrip(const ViewRect& lyricRect, bool stripHasItems, int positionMs);

struct PictureAlpha {
  double alpha;  // 0..1
  bool fading;   // the picture changes from cycle to cycle
};

// `minimum` is the resting brightness (backpiclum / 100); the alpha never
// goes below it, nor outside 0..1.
PictureAlpha BackgroundPictureAlpha(int positionMs, double minimum);

// The constant alpha byte the picture is blended with.
int AlphaByte(double alpha);
