#pragma once
// A small RGB canvas for the skin generator: fills, gradients, lines,
// polygons and a 5x7 pixel font, written out as 24-bit BMP files. It runs
// on the build machine, so it uses nothing but the C++ library.
#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};
constexpr Rgb RgbOf(uint32_t hex) { return Rgb{uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex)}; }
Rgb Mix(Rgb a, Rgb b, double t);

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = {});
  int Width() const { return w_; }
  int Height() const { return h_; }

  void Set(int x, int y, Rgb c);
  Rgb Get(int x, int y) const;
  void Fill(int x, int y, int w, int h, Rgb c);
  void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  void Frame(int x, int y, int w, int h, Rgb c);  // one-pixel outline
  void Line(int x0, int y0, int x1, int y1, Rgb c, int thickness = 1);
  // Filled convex polygon (points in order).
  void Polygon(const std::vector<std::pair<double, double>>& points, Rgb c);
  // Text in the 5x7 font (upper-case letters, digits, blank), scaled.
  void Text(int x, int y, const std::string& text, Rgb c, int scale = 1);
  static int TextWidth(const std::string& text, int scale = 1);

  bool WriteBmp(const std::string& path) const;

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

}  // namespace art
