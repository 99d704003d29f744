#pragma once
// Plain geometry and colour values of the lyric view. They mirror RECT, POINT
// and COLORREF so that the GDI side can execute a layout without converting
// anything, while the layout itself stays free of <windows.h>.
#include <cstdint>

// Colour as a Windows colour value: 0x00BBGGRR (red in the low byte).
using ViewColor = uint32_t;

inline ViewColor MakeViewColor(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | (g & 0xFFu) << 8 | (b & 0xFFu) << 16;
}
inline unsigned ColorRed(ViewColor c) { return c & 0xFFu; }
inline unsigned ColorGreen(ViewColor c) { return c >> 8 & 0xFFu; }
inline unsigned ColorBlue(ViewColor c) { return c >> 16 & 0xFFu; }

struct ViewPoint {
  int x;
  int y;
};

inline bool operator==(const ViewPoint& a, const ViewPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const ViewPoint& a, const ViewPoint& b) { return !(a == b); }

// Right and bottom lie one past the area, as with RECT.
struct ViewRect {
  int left;
  int top;
  int right;
  int bottom;
};

inline bool operator==(const ViewRect& a, const ViewRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const ViewRect& a, const ViewRect& b) { return !(a == b); }

inline int Width(const ViewRect& r) { return r.right - r.left; }
inline int Height(const ViewRect& r) { return r.bottom - r.top; }

// Empty: nothing inside (left >= right or top >= bottom).
inline bool IsEmpty(const ViewRect& r) { return r.left >= r.right || r.top >= r.bottom; }
inline bool IsAllZero(const ViewRect& r) { return r == ViewRect{0, 0, 0, 0}; }

// Edges included on every side: the view's hit tests count a click on the
// border line of an area as inside it.
inline bool ContainsInclusive(const ViewRect& r, ViewPoint p) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

inline bool Overlaps(const ViewRect& a, const ViewRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The common part of a and b; all zero when they do not overlap.
ViewRect Intersection(const ViewRect& a, const ViewRect& b);

// The smallest rectangle holding both; an empty operand adds nothing.
ViewRect Union(const ViewRect& a, const ViewRect& b);
