#include "view/EdgeFade.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
constexpr double kPi = 3.14159265358979323846;

void FadeRow(uint32_t* row, int from, int to, int alpha) {
  for (int x = from; x < to; ++x) {
    const uint32_t p = row[x];
    const uint32_t r = ((p >> 16 & 0xFFu) * static_cast<uint32_t>(alpha) + 127) / 255;
    const uint32_t g = ((p >> 8 & 0xFFu) * static_cast<uint32_t>(alpha) + 127) / 255;
    const uint32_t b = ((p & 0xFFu) * static_cast<uint32_t>(alpha) + 127) / 255;
    row[x] = r << 16 | g << 8 | b;
  }
}
}  // namespace

int EdgeFadeAlpha(int row, int band) {
  if (band <= 0) return 255;
  return static_cast<int>(std::trunc(255.0 * (1.0 - std::cos(kPi * row / band)) / 2.0));
}

void FadeEdges(uint32_t* pixels, int stride, int height, const ViewRect& area, int band) {
  if (!pixels || band <= 0 || IsEmpty(area)) return;
  const int from = std::max(0, area.left);
  const int to = std::min(stride, area.right);
  if (from >= to) return;
  // A band taller than half the area would fade rows twice.
  band = std::min(band, Height(area) / 2);
  for (int i = 0; i < band; ++i) {
    const int alpha = EdgeFadeAlpha(i, band);
    for (int y : {area.top + i, area.bottom - 1 - i}) {
      if (y >= 0 && y < height) FadeRow(pixels + static_cast<std::ptrdiff_t>(y) * stride, from, to, alpha);
    }
  }
}
