#include "view/ViewGeometry.h"

#include <algorithm>

ViewRect Intersection(const ViewRect& a, const ViewRect& b) {
  if (!Overlaps(a, b)) return ViewRect{0, 0, 0, 0};
  return ViewRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
}

ViewRect Union(const ViewRect& a, const ViewRect& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return ViewRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom)};
}
