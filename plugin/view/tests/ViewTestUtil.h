#pragma once
// Small lyrics for the view tests.
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "lyriccore/LrcText.h"

struct Line {
  int start;
  int end;
  const char* text;
};

inline std::vector<TimeSentence> Lyric(std::initializer_list<Line> lines) {
  std::vector<TimeSentence> list;
  for (const Line& l : lines) {
    TimeSentence s{};
    s.startTime = l.start;
    s.endTime = l.end;
    std::snprintf(s.text, sizeof s.text, "%s", l.text);
    list.push_back(s);
  }
  return list;
}

// `count` lines of `bytes` bytes each, `durationMs` long, the first at `firstMs`.
inline std::vector<TimeSentence> EvenLyric(int count, int firstMs, int durationMs, int bytes) {
  std::vector<TimeSentence> list(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    TimeSentence& s = list[static_cast<size_t>(i)];
    s = TimeSentence{};
    s.startTime = firstMs + i * durationMs;
    s.endTime = s.startTime + durationMs;
    for (int b = 0; b < bytes && b < 259; ++b) s.text[b] = static_cast<char>('a' + (i + b) % 26);
  }
  return list;
}
