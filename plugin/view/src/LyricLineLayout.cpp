#include "view/LyricLineLayout.h"

#include <algorithm>
#include <cmath>

#include "view/BlendColor.h"
#include "view/KaraokeFill.h"
#include "view/LayoutLyric.h"
#include "view/LyricViewShared.h"

namespace {

constexpr ViewColor kMessageColor = 0x54FF00;
constexpr size_t kMessageLimit = 512;
constexpr int kTitleToFirstLine = 20;
constexpr int kTitleAboveOrigin = 30;
constexpr double kFadeOutUntil = 0.15;
constexpr double kFadeInFrom = 0.8;

long long Clamp(long long v, long long lo, long long hi) { return std::min(hi, std::max(lo, v)); }

int ToCoord(long long v) { return static_cast<int>(Clamp(v, -(1LL << 30), 1LL << 30)); }

// Every drawn line widens the dirty area; the copy then spans the whole
// scroll axis, so lines that moved away are repainted too.
void MergeDirty(ViewRect& dirty, const ViewRect& line, const ViewRect& lyric, bool horizontal) {
  dirty = Union(dirty, Intersection(line, lyric));
  if (horizontal) {
    dirty.left = lyric.left;
    dirty.right = lyric.right;
  } else {
    dirty.top = lyric.top + 3;
    dirty.bottom = lyric.bottom - 3;
  }
}

void PlaceKaraoke(LyricLinePlacement& line, const TimeSentence& s, const LineLayoutInput& in) {
  const size_t bytes = TextBytes(s.text, sizeof s.text);
  const int width = std::max(0, in.measurer->TextWidth(s.text, bytes));
  const int left = in.horizontal ? line.rect.left : line.rect.left + (Width(line.rect) - width) / 2;
  line.karaoke = true;
  line.textLeft = left;
  line.textRight = left + width;
  if (in.currentWords == nullptr || in.currentWords->empty()) {
    const double sung = std::min(1.0, std::max(0.0, in.progress));
    line.splitX = left + static_cast<int>(std::trunc(width * sung));
    return;
  }
  // Word by word: the sung words whole, the word being sung in part.
  const KaraokeSpan span = KaraokeFill(s, in.currentWords, in.position);
  const int from = span.from ? std::max(0, in.measurer->TextWidth(s.text, span.from)) : 0;
  const int to = std::max(from, span.to == bytes ? width : in.measurer->TextWidth(s.text, span.to));
  const double sung = std::min(1.0, std::max(0.0, span.fraction));
  line.splitX = left + std::min(width, from + static_cast<int>(std::trunc((to - from) * sung)));
}

void AddLine(LineLayout& out, const LineLayoutInput& in, int index, const ViewRect& rect, ViewRect& dirty) {
  const TimeSentence& s = (*in.sentences)[static_cast<size_t>(index - 1)];
  LyricLinePlacement line{};
  line.index = index;
  line.rect = rect;
  line.color = LyricLineColor(index, in.currentIndex, in.progress, in.karaoke, in.style->normal,
                              in.style->highlight);
  if (in.karaoke && index == in.currentIndex) PlaceKaraoke(line, s, in);
  out.lines.push_back(line);
  MergeDirty(dirty, rect, in.lyricRect, in.horizontal);
}

void LayoutVertical(const LineLayoutInput& in, long long firstTop, LineLayout& out, ViewRect& dirty) {
  const ViewRect& r = in.lyricRect;
  const long long lh = std::max(1, in.style->lineHeight);
  const long long count = static_cast<long long>(in.sentences->size());
  // Lines whose bottom is at or above the top edge are skipped; find the first
  // one below it directly instead of walking a long lyric.
  long long first = 1;
  if (firstTop + lh <= r.top) first = (r.top - firstTop) / lh + 1;
  for (long long i = first; i <= count; ++i) {
    const long long top = firstTop + (i - 1) * lh;
    if (top >= r.bottom) break;
    if (top + lh <= r.top) continue;
    AddLine(out, in, static_cast<int>(i), ViewRect{r.left, ToCoord(top), r.right, ToCoord(top + lh)}, dirty);
  }
}

void LayoutHorizontal(const LineLayoutInput& in, long long firstLeft, int bandTop, int bandBottom,
                      LineLayout& out, int& scrollState, ViewRect& dirty) {
  const ViewRect& r = in.lyricRect;
  const int k = in.currentIndex;
  scrollState = kScrollNormal;
  long long x = firstLeft;
  const int count = static_cast<int>(in.sentences->size());
  for (int i = 1; i <= count; ++i) {
    const long long width = SentenceWidth((*in.sentences)[static_cast<size_t>(i - 1)], in.style->charWidth);
    const long long left = x;
    x += width;
    if (left + width <= r.left) {
      if (i >= k) scrollState = kScrollOffScreen;
      continue;
    }
    if (left >= r.right) {
      if (i <= k)
        scrollState = kScrollOffScreen;
      else if (i <= k + 1)
        scrollState = kScrollTextBehind;
      break;
    }
    if (i == k) {
      if (left < r.left + 50) scrollState = kScrollNearLeftEdge;
      if (left < r.left + 5) scrollState = kScrollTextAhead;
    } else if (i == k + 1 && left > static_cast<long long>(r.right) + 10) {
      scrollState = kScrollTextBehind;
    }
    AddLine(out, in, i, ViewRect{ToCoord(left), bandTop, ToCoord(left + width), bandBottom}, dirty);
  }
}

}  // namespace

ViewColor LyricLineColor(int index, int currentIndex, double progress, bool karaoke, ViewColor normal,
                         ViewColor highlight) {
  if (index == currentIndex) return highlight;
  if (index == currentIndex - 1 && index > 1) {
    // The line just left behind fades out over the first 15 % of the next one.
    if (progress <= kFadeOutUntil) return BlendColor(highlight, normal, (kFadeOutUntil - progress) * 6.6666665);
    return normal;
  }
  if (index == currentIndex + 1 && !karaoke && progress >= kFadeInFrom) {
    // Pre-highlight over the last 20 % of the current line; karaoke shows the
    // current line's fill instead.
    return BlendColor(highlight, normal, (progress - kFadeInFrom) * 5.0000005);
  }
  return normal;
}

void LayoutLyricLines(const LineLayoutInput& given, LineLayout& out, int& scrollState, ViewRect& dirty) {
  const FixedWidthMeasurer byteWidth(given.style->charWidth);
  LineLayoutInput in = given;
  if (in.measurer == nullptr) in.measurer = &byteWidth;
  out.lines.clear();
  out.title = TitleLine{};
  const bool haveSentences = in.sentences != nullptr && !in.sentences->empty();
  const char* message = in.message ? in.message : "";
  const size_t messageBytes = TextBytes(message, kMessageLimit);
  if (!haveSentences && messageBytes == 0) return;

  const ViewRect& r = in.lyricRect;
  const int lh = in.style->lineHeight;
  out.title.color = in.mini ? in.style->highlight : kMessageColor;
  out.title.underline = in.messageIsLink;

  ViewRect title{};
  int bandTop = 0;
  int bandBottom = 0;
  if (in.horizontal) {
    const int tw = static_cast<int>(messageBytes) * in.style->charWidth;
    bandTop = (r.top + r.bottom - lh) / 2;
    bandBottom = (r.top + r.bottom + lh) / 2 + 1;
    const int left = ToCoord(static_cast<long long>(in.scrollOrigin) - tw / 2);
    title = ViewRect{left, bandTop, ToCoord(static_cast<long long>(left) + tw), bandBottom};
  } else {
    const int top = ToCoord(static_cast<long long>(in.scrollOrigin) - kTitleAboveOrigin);
    title = ViewRect{r.left, top, r.right, ToCoord(static_cast<long long>(top) + lh)};
  }
  // In the mini window the lyric itself says enough: no title before it.
  const bool titleShown = !(in.mini && haveSentences) && Overlaps(title, r);
  if (titleShown) {
    out.title.rect = title;
    if (messageBytes > 0) {
      const int measured = std::max(0, in.measurer->TextWidth(message, messageBytes));
      const int left = title.left + (Width(title) - measured) / 2;
      out.title.textRect = ViewRect{left, title.top, left + measured, title.bottom};
    }
    MergeDirty(dirty, title, r, in.horizontal);
  }
  if (!haveSentences) return;

  if (in.horizontal) {
    const long long firstLeft = in.mini ? in.scrollOrigin : title.right;
    LayoutHorizontal(in, firstLeft, bandTop, bandBottom, out, scrollState, dirty);
  } else {
    LayoutVertical(in, static_cast<long long>(title.bottom) + kTitleToFirstLine, out, dirty);
  }
}
