#pragma once
// What a point of the lyric window is over, and how the window answers a
// hovering mouse.
#include <vector>

#include "view/ViewGeometry.h"

enum LyricHit {
  kHitLyric = 0,    // the lyric area: press to drag
  kHitMessage = 1,  // the message line while it is a link
  kHitStrip = 2,    // a picture or caption of the strip
  kHitNone = 3,
};

// A clickable box of the strip, as the drawing placed it.
struct StripHitRect {
  ViewRect rect;
  int kind;  // StripItemKind
};

struct LyricHitResult {
  int hit;     // LyricHit
  int itemId;  // kind of the strip item for kHitStrip, else -1
};

struct LyricHitAreas {
  bool messageIsLink;
  ViewRect titleRect;  // the message text's area; all zero when not shown
  ViewRect lyricRect;
  ViewRect stripRect;
  const std::vector<StripHitRect>* stripHits;  // may be null
};

LyricHitResult HitTestLyric(ViewPoint p, const LyricHitAreas& areas);

enum class LyricCursor {
  LyricArea,  // the open hand: the lyrics can be dragged
  Link,
  Arrow,
};

struct LyricHover {
  int hoveredStripId;  // -1 when no strip item is under the mouse
  LyricCursor cursor;
};

// Mouse move without a drag: the hovered item (its frame is highlighted on the
// next full repaint, which the caller requests) and the cursor.
LyricHover HoverFor(const LyricHitResult& hit);
