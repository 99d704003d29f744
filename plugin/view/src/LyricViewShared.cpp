#include "view/LyricViewShared.h"

#include <algorithm>

void HorizontalScrollController::Run(int scrollState, int currentIndex) {
  const bool adapt = cycles % 5 == 0;
  ++cycles;
  if (adapt) {
    switch (scrollState) {
      case kScrollTextAhead:
        if (mode == 0) ScrollBase = std::max(1, ScrollBase - 1);
        mode = 1;
        ScrollStep = 0;
        break;
      case kScrollNearLeftEdge:
        if (mode == 0) ScrollBase = std::max(1, ScrollBase - 1);
        ScrollStep = ScrollStep > 2 ? ScrollStep - 1 : 1;
        break;
      case kScrollNormal:
        mode = 0;
        ScrollStep = ScrollStep > ScrollBase ? ScrollStep - 1 : ScrollBase;
        break;
      case kScrollTextBehind:
        if (ScrollBase < 5 && mode == 0) ++ScrollBase;
        mode = 2;
        ++ScrollStep;
        break;
      default:  // off screen: the origin jumps, nothing to adapt
        break;
    }
  }
  if (currentIndex == 0) ScrollStep = 0;
}

LyricViewShared& LyricViewProcessWide() {
  static LyricViewShared values;
  return values;
}

void ResetLyricViewProcessWide() { LyricViewProcessWide() = LyricViewShared{}; }
