#include "view/LyricDragTracker.h"

#include <algorithm>
#include <cmath>

#include "view/LayoutLyric.h"
#include "view/LyricHitTest.h"

namespace {

constexpr int kMiniLineHeight = 15;
constexpr int kMiniCharWidth = 8;

int ToTime(double ms) {
  const double limit = 2147483647.0;
  return static_cast<int>(std::trunc(std::min(limit, std::max(-limit, ms))));
}

}  // namespace

void LyricDragTracker::Begin(const std::vector<TimeSentence>& sentences, const DragLayout& layout,
                             int pressTime, ViewPoint press) {
  m_sentences = sentences;
  m_horizontal = layout.horizontal || layout.mini;
  if (layout.mini) {
    m_lineHeight = kMiniLineHeight;
    m_charWidth = kMiniCharWidth;
  } else {
    m_lineHeight = std::max(1, layout.viewLineHeight);
    m_charWidth = std::max(1, (m_lineHeight + 1) / 2);
  }
  m_centre = layout.centre;
  m_press = press;
  m_pressOrigin = m_sentences.empty()
                      ? m_centre
                      : LocateLyric(m_sentences, pressTime, m_centre, m_horizontal, m_lineHeight, m_charWidth).target;
}

int LyricDragTracker::TimeAt(ViewPoint p) const {
  const long long delta = m_horizontal ? static_cast<long long>(p.x) - m_press.x : static_cast<long long>(p.y) - m_press.y;
  return TimeOfSentences(SentencesBefore(m_pressOrigin + delta));
}

// How many sentences (with the fraction of the one in progress) lie between
// the start of the lyric and the centre when the text stands at `origin`.
double LyricDragTracker::SentencesBefore(long long origin) const {
  const double covered = static_cast<double>(m_centre - origin);
  if (!m_horizontal) return covered / m_lineHeight;
  if (covered <= 0.0 || m_sentences.empty()) return 0.0;
  double rest = covered;
  double e = 0.0;
  for (const TimeSentence& s : m_sentences) {
    const int w = SentenceWidth(s, m_charWidth);
    if (rest < w) return e + rest / w;
    rest -= w;
    e += 1.0;
  }
  // Past the end the last sentence goes on at its own speed, as the view scrolls it.
  const int last = SentenceWidth(m_sentences.back(), m_charWidth);
  return last > 0 ? e + rest / last : e;
}

// The position at which the view shows `e` sentences sung: sentence f + 1 at
// progress e - f. Up to the first sentence the lyric stands still, so the
// whole stretch maps to the start of the song.
int LyricDragTracker::TimeOfSentences(double e) const {
  if (m_sentences.empty() || e <= 0.0) return 0;
  const double whole = std::trunc(e);
  const double n = static_cast<double>(m_sentences.size());
  const size_t i = static_cast<size_t>(std::min(whole, n - 1.0));  // 0-based sentence in progress
  const TimeSentence& s = m_sentences[i];
  const double duration = static_cast<double>(s.endTime) - s.startTime;
  const double into = e - static_cast<double>(i);  // 1 and above past the last sentence
  return ToTime(s.startTime + into * duration);
}

bool LyricDragSession::Press(int hit, LyricViewStatus status, const std::vector<TimeSentence>& sentences,
                             const DragLayout& layout, int currentPosition, ViewPoint p) {
  if (hit != kHitLyric || status != LyricViewStatus::LyricReady || sentences.empty()) return false;
  m_tracker.Begin(sentences, layout, currentPosition, p);
  m_dragTime = currentPosition;
  m_press = p;
  m_dragging = true;
  return true;
}

void LyricDragSession::Move(ViewPoint p) {
  if (m_dragging && p != m_press) m_dragTime = m_tracker.TimeAt(p);
}

LyricDragSession::Release LyricDragSession::Up(ViewPoint p) {
  Release r{m_dragging, false, m_dragTime};
  if (m_dragging && p != m_press) {
    m_dragTime = m_tracker.TimeAt(p);
    r.seek = true;
    r.time = m_dragTime;
  }
  m_dragging = false;
  return r;
}
