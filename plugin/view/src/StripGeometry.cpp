#include "view/StripGeometry.h"

#include <cstdio>

namespace {
constexpr int kItemWidth = 120;
constexpr int kItemTop = 8;
constexpr int kItemBottom = 78;
}  // namespace

StripItemGeometry StripItemAt(int stripTop, int index, bool hovered) {
  const int x = kItemWidth * index;
  const int y = stripTop + kItemTop;
  StripItemGeometry g{};
  const ViewRect frame{x + 29, y - 1, x + 91, y + 46};
  g.frame = hovered ? ViewRect{frame.left, frame.top, frame.right + 1, frame.bottom + 1} : frame;
  g.picture = ViewRect{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  g.captionBox = ViewRect{x + 2, frame.bottom + 3, x + kItemWidth - 2, stripTop + kItemBottom};
  return g;
}

void FormatTimeMarker(int positionMs, char* out, size_t size) {
  if (positionMs < 0) positionMs = 0;
  std::snprintf(out, size, "%d:%d.%d", positionMs / 60000, positionMs / 1000 % 60, positionMs % 1000 / 10);
}
