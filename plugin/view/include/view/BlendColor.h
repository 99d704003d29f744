#pragma once
#include "view/ViewGeometry.h"

// Cosine blend of two colours: f = 1 gives a, f = 0 gives b, and the colour
// eases in and out in between. Any f gives valid colour bytes.
ViewColor BlendColor(ViewColor a, ViewColor b, double f);
