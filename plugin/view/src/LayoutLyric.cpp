#include "view/LayoutLyric.h"

#include <algorithm>
#include <cmath>

#include "view/LyricTextStyle.h"

namespace {

// Pixel positions stay far inside int for any lyric; sums are taken in 64 bits
// so that a huge lyric cannot overflow them.
constexpr long long kCoordLimit = 1LL << 30;

int ToCoord(long long v) { return static_cast<int>(std::min(kCoordLimit, std::max(-kCoordLimit, v))); }

// A paused player repeats its position; after this many repeats horizontal text stops.
constexpr int kPausedAfterCycles = 3;

}  // namespace

double SentenceProgress(const TimeSentence& s, int positionMs) {
  const long long into = static_cast<long long>(positionMs) - s.startTime;
  if (into < 1) return 0.0;
  const long long duration = static_cast<long long>(s.endTime) - s.startTime;
  if (duration <= 0) return 1.0;
  return static_cast<double>(into) / static_cast<double>(duration);
}

int SentenceWidth(const TimeSentence& s, int charWidth) {
  return TextLayoutWidth(s.text, sizeof s.text, charWidth);
}

LyricLocation LocateLyric(const std::vector<TimeSentence>& sentences, int positionMs, int centre,
                          bool horizontal, int lineHeight, int charWidth) {
  int index = 0;
  long long sum = 0;
  for (const TimeSentence& s : sentences) {
    if (s.startTime >= positionMs) break;
    ++index;
    if (horizontal) sum += SentenceWidth(s, charWidth);
  }
  const TimeSentence& current = sentences[index > 0 ? index - 1 : 0];
  const double progress = SentenceProgress(current, positionMs);
  const long long extent = horizontal ? SentenceWidth(current, charWidth) : lineHeight;
  const long long sung = static_cast<long long>(std::trunc(static_cast<double>(extent) * progress));
  long long target = centre;
  if (index > 0) {
    if (horizontal)
      target = centre + extent - sung - sum;
    else
      target = centre - (static_cast<long long>(index - 1) * lineHeight + sung);
  }
  return LyricLocation{index, progress, ToCoord(target)};
}

void LayoutLyric(const LyricLayoutInput& in, LyricLayoutState& state, LyricViewShared& shared) {
  const ViewRect& r = in.lyricRect;
  state.centre = in.horizontal ? (r.left + r.right) / 2 : (r.top + r.bottom) / 2;
  if (!in.lyricReady || in.sentences == nullptr || in.sentences->empty()) {
    state.currentIndex = 0;
    state.progress = 0.0;
    state.target = state.centre;
    state.moved = true;
    state.scrollOrigin = state.centre;
    return;
  }
  const LyricLocation at =
      LocateLyric(*in.sentences, in.position, state.centre, in.horizontal, in.lineHeight, in.charWidth);
  state.currentIndex = at.currentIndex;
  state.progress = at.progress;
  state.target = at.target;
  if (!in.horizontal) {
    state.moved = at.target != state.scrollOrigin;
    state.scrollOrigin = at.target;
    return;
  }
  if (shared.unchangedCycles > kPausedAfterCycles) return;
  shared.scroll.Run(state.scrollState, state.currentIndex);
  state.moved = true;
  if (state.scrollState == kScrollOffScreen || in.adjustMode)
    state.scrollOrigin = at.target;
  else
    state.scrollOrigin = ToCoord(static_cast<long long>(state.scrollOrigin) - shared.scroll.ScrollStep);
}
