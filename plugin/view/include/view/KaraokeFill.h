#pragma once
// How much of the current sentence the karaoke fill covers. A line with word
// times (enhanced LRC) fills word by word: each word's bytes from its time to
// the next word's; a line without them fills in a straight line from its
// start to its end.
#include <cstddef>

#include "lyriccore/LrcText.h"

// The fill covers bytes [0, from) whole and `fraction` (0 to 1) of the bytes
// [from, to); drawn, that is x(from) + fraction * (x(to) - x(from)).
struct KaraokeSpan {
  size_t from = 0;
  size_t to = 0;
  double fraction = 0.0;
};

// `words` may be null or empty. Word times that run backwards, lie before the
// line or past its end are held within the line, in order; bytes likewise.
KaraokeSpan KaraokeFill(const TimeSentence& sentence, const LineWords* words, int positionMs);
