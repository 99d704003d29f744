#pragma once
// Dragging the lyrics seeks the player: the tracker turns the mouse back into
// the play position the dragged text shows, using the same layout rules as
// the view, and the session holds the press-move-release state of a drag.
// Lyric windows' thread only.
#include <vector>

#include "lyriccore/LrcText.h"
#include "view/LyricViewState.h"
#include "view/ViewGeometry.h"

struct DragLayout {
  bool horizontal;     // the view's one-line layout (horizontal setting or the mini window)
  bool mini;
  int viewLineHeight;  // line height of the last repaint
  int centre;          // middle of the lyric area along the scroll axis
};

class LyricDragTracker {
 public:
  // Copies the lyric and remembers the origin that shows `pressTime`.
  void Begin(const std::vector<TimeSentence>& sentences, const DragLayout& layout, int pressTime,
             ViewPoint press);

  // The play position shown when the text is dragged from the press point to `p`.
  int TimeAt(ViewPoint p) const;

  int PressOrigin() const { return m_pressOrigin; }

 private:
  double SentencesBefore(long long origin) const;
  int TimeOfSentences(double e) const;

  std::vector<TimeSentence> m_sentences;
  bool m_horizontal = false;
  int m_lineHeight = 1;
  int m_charWidth = 1;
  int m_centre = 0;
  int m_pressOrigin = 0;
  ViewPoint m_press{0, 0};
};

class LyricDragSession {
 public:
  // Button pressed over a hit area. A drag starts only on the lyric area with a
  // lyric showing; then the caller captures the mouse and sets adjust mode.
  bool Press(int hit, LyricViewStatus status, const std::vector<TimeSentence>& sentences,
             const DragLayout& layout, int currentPosition, ViewPoint p);

  // Mouse moved while dragging.
  void Move(ViewPoint p);

  struct Release {
    bool wasDragging;
    bool seek;  // false when released where it was pressed
    int time;   // where to seek
  };
  // Button released: ends the drag.
  Release Up(ViewPoint p);

  bool Dragging() const { return m_dragging; }
  // While dragging the view shows this position instead of the player's.
  int DragTime() const { return m_dragTime; }

 private:
  LyricDragTracker m_tracker;
  bool m_dragging = false;
  int m_dragTime = 0;
  ViewPoint m_press{0, 0};
};
