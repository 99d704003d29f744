#pragma once
// Where the picture strip puts each item, and the time marker's label.
#include <cstddef>

#include "view/ViewGeometry.h"

struct StripItemGeometry {
  ViewRect frame;       // the picture's frame (hover: 1 px larger right and bottom)
  ViewRect picture;     // inside the frame, 1 px in
  ViewRect captionBox;  // where the caption is fitted
};

// Item `index` (0-based) of a strip whose rectangle starts at `stripTop`.
StripItemGeometry StripItemAt(int stripTop, int index, bool hovered);

// The strip shows at most this many pictures.
constexpr size_t kMaxStripPictures = 5;

// "%d:%d.%d": minutes, seconds and hundredths of the position, no leading zeros.
void FormatTimeMarker(int positionMs, char* out, size_t size);
