#include "view/LyricHitTest.h"

LyricHitResult HitTestLyric(ViewPoint p, const LyricHitAreas& a) {
  if (a.messageIsLink && !IsAllZero(a.titleRect) && ContainsInclusive(a.titleRect, p)) return {kHitMessage, -1};
  if (!IsAllZero(a.lyricRect) && ContainsInclusive(a.lyricRect, p)) return {kHitLyric, -1};
  if (IsAllZero(a.stripRect) || !ContainsInclusive(a.stripRect, p)) return {kHitNone, -1};
  LyricHitResult result{kHitNone, -1};
  if (a.stripHits != nullptr) {
    for (const StripHitRect& h : *a.stripHits)
      if (ContainsInclusive(h.rect, p)) result = {kHitStrip, h.kind};
  }
  return result;
}

LyricHover HoverFor(const LyricHitResult& hit) {
  LyricHover hover{hit.hit == kHitStrip ? hit.itemId : -1, LyricCursor::Arrow};
  if (hit.hit == kHitLyric)
    hover.cursor = LyricCursor::LyricArea;
  else if (hit.hit == kHitMessage || hit.hit == kHitStrip)
    hover.cursor = LyricCursor::Link;
  return hover;
}
