#pragma once
// The dark fade at the top and bottom of the lyric area, done on the back
// buffer's pixels (32-bit words 0x00RRGGBB, as a top-down DIB holds them).
#include <cstdint>

#include "view/ViewGeometry.h"

// Constant alpha of row i of a band (0 outermost: black; the row `band` px
// inside would be 255, unchanged).
int EdgeFadeAlpha(int row, int band);

// Blends the `band` outermost rows at the top and bottom of `area` onto black.
// `pixels` holds `height` rows of `stride` words; rows and columns outside
// the buffer are left alone.
void FadeEdges(uint32_t* pixels, int stride, int height, const ViewRect& area, int band);
