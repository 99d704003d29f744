#pragma once
// Geometry and colour of every visible lyric line in one repaint cycle, the
// message (title) line above or before them, the feedback to the horizontal
// scroll controller, and the part of the window that changed. The drawing
// only executes this: it draws each placement in its colour and copies the
// dirty rectangle.
#include <vector>

#include "lyriccore/LrcText.h"
#include "view/LyricTextStyle.h"
#include "view/ViewGeometry.h"

struct LineLayoutInput {
  const std::vector<TimeSentence>* sentences;  // null or empty: only the message line
  const char* message;                         // the title/message line
  bool messageIsLink;
  bool mini;
  bool horizontal;  // one-line scrolling (horizontal setting or the mini window)
  ViewRect lyricRect;
  int scrollOrigin;
  int currentIndex;
  double progress;
  const LyricTextStyle* style;
  bool karaoke;                   // IsKalaOk
  const TextMeasurer* measurer;   // real extents for the message hit area and the karaoke split;
                                  // null: byte length × char width
  const LineWords* currentWords = nullptr;  // word times of the current sentence, if it has any
  int position = 0;                         // ms: where the karaoke fill of a line with words stands
};

struct TitleLine {
  ViewRect rect;      // where the message line is drawn; all zero: not drawn
  ViewRect textRect;  // the measured text centred in `rect`: the click area
  ViewColor color;
  bool underline;     // the message is a link
};

struct LyricLinePlacement {
  int index;  // 1-based sentence number
  ViewRect rect;
  ViewColor color;
  // Karaoke split of the current sentence: highlight from textLeft to splitX,
  // the normal colour from splitX to textRight.
  bool karaoke;
  int textLeft;
  int splitX;
  int textRight;
};

struct LineLayout {
  TitleLine title{};
  std::vector<LyricLinePlacement> lines;
};

// Colour of sentence `index` (1-based) with sentence `currentIndex` current at `progress`.
ViewColor LyricLineColor(int index, int currentIndex, double progress, bool karaoke, ViewColor normal,
                         ViewColor highlight);

// Lays out one cycle into `out` (its line list is reused). Horizontal layout
// sets `scrollState`; every placed line is merged into `dirty`.
void LayoutLyricLines(const LineLayoutInput& in, LineLayout& out, int& scrollState, ViewRect& dirty);
