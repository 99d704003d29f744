#include "view/KaraokeFill.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "view/LayoutLyric.h"

namespace {

struct Knot {
  long long ms;
  size_t byte;
};

}  // namespace

KaraokeSpan KaraokeFill(const TimeSentence& s, const LineWords* words, int positionMs) {
  const size_t len = strnlen(s.text, sizeof s.text);
  KaraokeSpan span;
  span.to = len;
  if (words == nullptr || words->empty()) {
    span.fraction = std::min(1.0, std::max(0.0, SentenceProgress(s, positionMs)));
    return span;
  }
  // The fill runs through knots of (time, byte): the line's start, each word,
  // the line's end. Both coordinates only grow, so a word out of order waits
  // for the one before it instead of pulling the fill back.
  const long long start = s.startTime;
  const long long end = std::max<long long>(s.endTime, start);
  std::vector<Knot> knots;
  knots.reserve(words->size() + 2);
  knots.push_back(Knot{start, 0});
  for (const LyricWord& w : *words) {
    const long long at = std::min(end, std::max(knots.back().ms, start + w.atMs));
    const size_t byte = std::min(len, std::max<size_t>(knots.back().byte, w.byte));
    knots.push_back(Knot{at, byte});
  }
  knots.push_back(Knot{end, len});

  const long long p = positionMs;
  if (p - start < 1) {
    span.to = knots.front().byte;
    return span;
  }
  // The last knot reached; past the end the whole line is sung.
  size_t k = 0;
  while (k + 1 < knots.size() && knots[k + 1].ms <= p) ++k;
  if (k + 1 == knots.size()) {
    span.from = span.to = len;
    return span;
  }
  span.from = knots[k].byte;
  span.to = knots[k + 1].byte;
  const long long duration = knots[k + 1].ms - knots[k].ms;
  span.fraction = duration > 0 ? static_cast<double>(p - knots[k].ms) / static_cast<double>(duration) : 1.0;
  return span;
}
