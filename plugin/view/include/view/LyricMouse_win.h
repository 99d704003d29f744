#pragma once
// The mouse over a lyric area: hovering the strip and the message line,
// dragging the lyrics to seek, and clicks on the message line and the
// strip. Lyric windows' thread only.
#include <windows.h>

#include "view/DrawLyric_win.h"
#include "view/LyricDragTracker.h"

// What the mouse asks of the rest of the plug-in.
class LyricMouseOwner {
 public:
  virtual int PlayPosition() = 0;     // the player's position now
  virtual void SeekTo(int ms) = 0;    // the drag ended here
  virtual void MessageClicked(int code) = 0;
  virtual void StripClicked(int kind) = 0;

 protected:
  ~LyricMouseOwner() = default;
};

class LyricMouse {
 public:
  LyricMouse(DrawLyric& draw, LyricViewState& view, LyricMouseOwner& owner)
      : m_draw(draw), m_view(view), m_owner(owner) {}

  void OnLButtonDown(HWND window, ViewPoint p);
  void OnMouseMove(HWND window, ViewPoint p);
  void OnLButtonUp(HWND window, ViewPoint p);
  // The capture went elsewhere: the drag ends without a seek.
  void OnCaptureLost();

  bool Dragging() const { return m_session.Dragging(); }
  // While dragging, the view shows this position instead of the player's.
  int DragTime() const { return m_session.DragTime(); }
  HCURSOR Cursor() const { return m_cursor; }

 private:
  DrawLyric& m_draw;
  LyricViewState& m_view;
  LyricMouseOwner& m_owner;
  LyricDragSession m_session;
  HCURSOR m_cursor = nullptr;
};
