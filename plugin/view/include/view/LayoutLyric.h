#pragma once
// Where the lyric block stands at a play position: which sentence is current,
// how much of it is sung, and where the text is scrolled to. Recomputed every
// cycle from the position alone, so a seek shows on the next cycle.
#include <vector>

#include "lyriccore/LrcText.h"
#include "view/LyricViewShared.h"
#include "view/ViewGeometry.h"

// Fraction of the sentence sung at `positionMs`: 0 until 1 ms into it, above 1
// once past its end. A sentence without duration counts as fully sung.
double SentenceProgress(const TimeSentence& s, int positionMs);

// Layout width of a sentence: its byte length × char width.
int SentenceWidth(const TimeSentence& s, int charWidth);

struct LyricLocation {
  int currentIndex;  // sentences whose start lies before the position (1-based current; 0 before the first)
  double progress;   // of the current sentence, or of the first one before it starts
  int target;        // scroll origin that shows this position
};

// Target origin of the scroll axis for a position. Horizontal: x of the title's
// centre; vertical: y of the title line + 30. `centre` is the middle of the
// lyric area along that axis. `sentences` must not be empty.
LyricLocation LocateLyric(const std::vector<TimeSentence>& sentences, int positionMs, int centre,
                          bool horizontal, int lineHeight, int charWidth);

struct LyricLayoutInput {
  const std::vector<TimeSentence>* sentences;  // null or empty: no lyric
  bool lyricReady;                             // status allows drawing sentences
  int position;                                // ms
  ViewRect lyricRect;
  bool horizontal;  // one-line scrolling: horizontal setting or the mini window
  int lineHeight;
  int charWidth;
  bool adjustMode;  // the user drags the lyrics: follow the mouse at once
};

// Layout state kept from cycle to cycle; horizontal scrolling moves from the
// previous origin in steps.
struct LyricLayoutState {
  int currentIndex = 0;
  double progress = 0.0;
  int scrollOrigin = 100;
  int centre = 0;
  int target = 0;
  bool moved = false;
  int scrollState = kScrollNormal;  // left by the last line layout
};

// One layout step. `shared.unchangedCycles` must already count this cycle.
void LayoutLyric(const LyricLayoutInput& in, LyricLayoutState& state, LyricViewShared& shared);
