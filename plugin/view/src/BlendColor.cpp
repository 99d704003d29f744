#include "view/BlendColor.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

unsigned Mix(unsigned a, unsigned b, double x) {
  const double v = std::trunc((1.0 - x) * b + x * a);
  return static_cast<unsigned>(std::min(255.0, std::max(0.0, v)));
}

}  // namespace

ViewColor BlendColor(ViewColor a, ViewColor b, double f) {
  const double x = (1.0 - std::cos(kPi * f)) / 2.0;
  return MakeViewColor(Mix(ColorRed(a), ColorRed(b), x), Mix(ColorGreen(a), ColorGreen(b), x),
                       Mix(ColorBlue(a), ColorBlue(b), x));
}
