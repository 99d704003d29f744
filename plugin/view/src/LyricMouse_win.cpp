#include "view/LyricMouse_win.h"

void LyricMouse::OnLButtonDown(HWND window, ViewPoint p) {
  const LyricHitResult hit = m_draw.HitTest(p);
  const int position = m_owner.PlayPosition();
  bool started;
  {
    // The sentences may be replaced by a fetch thread at any moment.
    zl::Lock lock(m_view.DrawLock());
    started = m_session.Press(hit.hit, m_view.Status(), m_view.Sentences(), DragLayoutOf(m_draw.Frame(), m_view),
                              position, p);
  }
  if (!started) return;
  SetCapture(window);
  m_view.adjustMode.store(1);
  m_cursor = m_draw.GrabbingCursor();
  SetCursor(m_cursor);
  m_draw.RequestFullRepaint();
}

void LyricMouse::OnMouseMove(HWND window, ViewPoint p) {
  if (m_session.Dragging()) {
    m_session.Move(p);
    return;
  }
  const LyricHover hover = HoverFor(m_draw.HitTest(p));
  m_draw.SetHoveredStrip(hover.hoveredStripId);
  m_cursor = m_draw.CursorFor(hover.cursor);
  SetCursor(m_cursor);
}

void LyricMouse::OnLButtonUp(HWND window, ViewPoint p) {
  const LyricHitResult hit = m_draw.HitTest(p);
  m_view.adjustMode.store(0);
  const bool wasDragging = m_session.Dragging();
  const LyricDragSession::Release release = m_session.Up(p);
  if (GetCapture() == window) ReleaseCapture();
  m_cursor = m_draw.CursorFor(HoverFor(hit).cursor);
  SetCursor(m_cursor);
  if (wasDragging) {
    m_draw.RequestFullRepaint();
    if (release.seek) m_owner.SeekTo(release.time);
    return;
  }
  if (hit.hit == kHitMessage) m_owner.MessageClicked(m_view.Message().code);
  if (hit.hit == kHitStrip) m_owner.StripClicked(hit.itemId);
}

void LyricMouse::OnCaptureLost() {
  if (!m_session.Dragging()) return;
  m_session.Up(ViewPoint{0, 0});
  m_view.adjustMode.store(0);
  m_draw.RequestFullRepaint();
}
