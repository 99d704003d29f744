#pragma once
// Values that live once per process and are shared by the main and the mini
// lyric window: the pause detector and the horizontal scroll controller.
// Only the lyric windows' thread touches them, inside the draw lock.

// What the line layout saw on screen in horizontal scrolling; the scroll
// controller adapts its step to it.
enum ScrollState {
  kScrollTextAhead = 0,     // the current sentence starts less than 5 px right of the left edge
  kScrollNormal = 1,        // nothing noteworthy
  kScrollTextBehind = 2,    // the next sentence starts at or beyond the right edge
  kScrollOffScreen = 3,     // the current (or an earlier) sentence is entirely off screen
  kScrollNearLeftEdge = 4,  // the current sentence starts less than 50 px right of the left edge
};

// Horizontal scrolling moves the text left by `ScrollStep` px per cycle; every
// fifth cycle the step is corrected from what the previous drawing showed.
struct HorizontalScrollController {
  int ScrollStep = 1;
  int ScrollBase = 1;
  int mode = 0;    // 0 steady, 1 braking (text ran ahead), 2 catching up (text fell behind)
  unsigned cycles = 0;  // counts the cycles the controller ran

  // One cycle: adapt the step from the scroll state the last drawing left
  // (on every fifth cycle), then stop the text while no sentence is current.
  void Run(int scrollState, int currentIndex);
};

struct LyricViewShared {
  int previousPosition = 0;  // ms, the play position of the previous cycle
  int unchangedCycles = 0;   // consecutive cycles that saw that same position
  HorizontalScrollController scroll;
};

// The one set of the process.
LyricViewShared& LyricViewProcessWide();

// Back to the start-up values (used when the plug-in restarts, and by tests).
void ResetLyricViewProcessWide();
