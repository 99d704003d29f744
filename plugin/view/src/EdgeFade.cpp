#include "view/EdgeFade.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
constexpr double kPi = 3.14159265358979323846;

// Each channel becomes (c * alpha + 127) / 255, red and blue side by side
// in one word: (y + (y >> 8)) >> 8 with y = c * alpha + 128 is that
// quotient exactly for every channel and alpha.
void FadeRow(uint32_t* row, int from, int to, int alpha) {
  const uint32_t a = static_cast<uint32_t>(alpha);
  for (int x = from; x < to; ++x) {
    const uint32_t p = row[x];
    uint32_t rb = (p & 0x00FF00FFu) * a + 0x00800080u;
    rb = (rb + (rb >> 8 & 0x00FF00FFu)) >> 8 & 0x00FF00FFu;
    uint32_t g = (p >> 8 & 0xFFu) * a + 0x80u;
    g = (g + (g >> 8)) >> 8;
    row[x] = rb | g << 8;
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
