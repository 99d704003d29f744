#include "lyricwindows/Docking.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

bool Within(int a, int b, int d) { return std::abs(static_cast<long long>(a) - b) <= d; }
bool OverlapVertically(const ViewRect& a, const ViewRect& b) { return a.bottom >= b.top && b.bottom >= a.top; }
bool OverlapHorizontally(const ViewRect& a, const ViewRect& b) { return a.right >= b.left && b.right >= a.left; }

ViewRect Offset(const ViewRect& r, int dx, int dy) {
  return ViewRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Along the edge it was pushed against, the window lines up with the target's
// near corner when that is close.
void AlignTopOrBottom(ViewRect& m, const ViewRect& t) {
  if (Within(m.top, t.top, kSnapDistance))
    m = Offset(m, 0, t.top - m.top);
  else if (Within(m.bottom, t.bottom, kSnapDistance))
    m = Offset(m, 0, t.bottom - m.bottom);
}
void AlignLeftOrRight(ViewRect& m, const ViewRect& t) {
  if (Within(m.left, t.left, kSnapDistance))
    m = Offset(m, t.left - m.left, 0);
  else if (Within(m.right, t.right, kSnapDistance))
    m = Offset(m, t.right - m.right, 0);
}

const ViewRect& RectOf(const PlayerWindows& p, DockState s) {
  return s == DockState::Equalizer ? p.equalizer : p.playlist;
}
bool Visible(const PlayerWindows& p, DockState s) {
  return s == DockState::Equalizer ? p.equalizerVisible : p.playlistVisible;
}
DockState Other(DockState s) { return s == DockState::Equalizer ? DockState::Playlist : DockState::Equalizer; }

long long Distance(const ViewRect& a, const ViewRect& b) {
  const long long dx = std::max({0LL, static_cast<long long>(b.left) - a.right, static_cast<long long>(a.left) - b.right});
  const long long dy = std::max({0LL, static_cast<long long>(b.top) - a.bottom, static_cast<long long>(a.top) - b.bottom});
  return dx * dx + dy * dy;
}

}  // namespace

ViewRect RaisedModernRect(const ViewRect& r) { return ViewRect{r.left, r.top, r.right, r.bottom - kModernBottomRaise}; }

bool EdgesMeet(const ViewRect& a, const ViewRect& b, int d) {
  if ((Within(a.right, b.left, d) || Within(a.left, b.right, d)) && OverlapVertically(a, b)) return true;
  return (Within(a.bottom, b.top, d) || Within(a.top, b.bottom, d)) && OverlapHorizontally(a, b);
}

bool SecondaryHangs(const PlayerWindows& p, DockState which, int d) {
  if (p.modern || which == DockState::Main || which == DockState::Free || !Visible(p, which)) return false;
  const ViewRect& r = RectOf(p, which);
  if (EdgesMeet(r, p.main, d)) return true;
  const DockState other = Other(which);
  return Visible(p, other) && EdgesMeet(r, RectOf(p, other), d) && EdgesMeet(RectOf(p, other), p.main, d);
}

bool IsNearPlayer(const ViewRect& lyric, const PlayerWindows& p) {
  if (EdgesMeet(lyric, p.main, kSnapDistance)) return true;
  for (DockState s : {DockState::Equalizer, DockState::Playlist})
    if (SecondaryHangs(p, s, kAttachTolerance) && EdgesMeet(lyric, RectOf(p, s), kSnapDistance)) return true;
  return false;
}

DockState AttachmentOf(const ViewRect& lyric, const PlayerWindows& p) {
  if (EdgesMeet(lyric, p.main, kAttachTolerance)) return DockState::Main;
  for (DockState s : {DockState::Equalizer, DockState::Playlist})
    if (SecondaryHangs(p, s, kAttachTolerance) && EdgesMeet(lyric, RectOf(p, s), kAttachTolerance)) return s;
  return DockState::Free;
}

Snap SnapTo(const ViewRect& m, const ViewRect& t, DockState target) {
  ViewRect r = m;
  if (Within(m.left, t.right, kSnapDistance) && OverlapVertically(m, t)) {
    r = Offset(m, t.right - m.left, 0);
    AlignTopOrBottom(r, t);
  } else if (Within(m.right, t.left, kSnapDistance) && OverlapVertically(m, t)) {
    r = Offset(m, t.left - m.right, 0);
    AlignTopOrBottom(r, t);
  } else if (Within(m.top, t.bottom, kSnapDistance) && OverlapHorizontally(m, t)) {
    r = Offset(m, 0, t.bottom - m.top);
    AlignLeftOrRight(r, t);
  } else if (Within(m.bottom, t.top, kSnapDistance) && OverlapHorizontally(m, t)) {
    r = Offset(m, 0, t.top - m.bottom);
    AlignLeftOrRight(r, t);
  } else {
    return Snap{false, m, DockState::Free};
  }
  return Snap{true, r, target};
}

Snap SnapLyricWindow(const ViewRect& m, const PlayerWindows& p) {
  Snap s = SnapTo(m, p.main, DockState::Main);
  if (s.snapped || p.modern) return s;
  for (DockState which : {DockState::Equalizer, DockState::Playlist}) {
    if (!SecondaryHangs(p, which, kSnapDistance)) continue;
    s = SnapTo(m, RectOf(p, which), which);
    if (s.snapped) return s;
  }
  return Snap{false, m, DockState::Free};
}

ViewRect FollowMove(const ViewRect& lyric, const ViewRect& before, const ViewRect& after) {
  return Offset(lyric, after.left - before.left, after.top - before.top);
}

ViewRect BringOntoMonitor(const ViewRect& w, const std::vector<ViewRect>& areas) {
  if (areas.empty()) return w;
  for (const ViewRect& a : areas) {
    const ViewRect on = Intersection(w, a);
    if (Width(on) >= kMinOnScreen && Height(on) >= kMinOnScreen) return w;
    // A window smaller than the bound counts when it lies wholly inside.
    if (!IsEmpty(on) && on == w) return w;
  }
  const ViewRect* nearest = &areas.front();
  long long best = std::numeric_limits<long long>::max();
  for (const ViewRect& a : areas) {
    const long long d = Distance(w, a);
    if (d < best) {
      best = d;
      nearest = &a;
    }
  }
  const ViewRect& a = *nearest;
  const int width = std::min(Width(w), Width(a));
  const int height = std::min(Height(w), Height(a));
  const int left = std::clamp(w.left, a.left, a.right - width);
  const int top = std::clamp(w.top, a.top, a.bottom - height);
  return ViewRect{left, top, left + width, top + height};
}

ViewSize ResizeFromDrag(ViewSize start, int dx, int dy, ViewSize minimum, bool heightFixed) {
  ViewSize s{start.width + dx, heightFixed ? start.height : start.height + dy};
  s.width = std::max(s.width, minimum.width);
  s.height = std::max(s.height, minimum.height);
  return s;
}
