#include "ArtCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace art {

Rgb Mix(Rgb a, Rgb b, double t) {
  auto m = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
  return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Canvas::Canvas(int width, int height, Rgb fill) : w_(width), h_(height), px_(size_t(width) * height, fill) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[size_t(y) * w_ + x] = c;
}

Rgb Canvas::Get(int x, int y) const { return px_[size_t(y) * w_ + x]; }

void Canvas::Fill(int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int j = 0; j < h; ++j) Fill(x, y + j, w, 1, Mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0));
}

void Canvas::Frame(int x, int y, int w, int h, Rgb c) {
  Fill(x, y, w, 1, c);
  Fill(x, y + h - 1, w, 1, c);
  Fill(x, y, 1, h, c);
  Fill(x + w - 1, y, 1, h, c);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c, int thickness) {
  const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  for (int s = 0; s <= steps; ++s) {
    const double t = steps ? double(s) / steps : 0;
    const int x = int(std::lround(x0 + (x1 - x0) * t)), y = int(std::lround(y0 + (y1 - y0) * t));
    Fill(x - thickness / 2, y - thickness / 2, thickness, thickness, c);
  }
}

void Canvas::Polygon(const std::vector<std::pair<double, double>>& p, Rgb c) {
  for (int y = 0; y < h_; ++y) {
    const double cy = y + 0.5;
    double lo = 1e9, hi = -1e9;
    for (size_t i = 0; i < p.size(); ++i) {
      auto a = p[i], b = p[(i + 1) % p.size()];
      if ((a.second <= cy && b.second > cy) || (b.second <= cy && a.second > cy)) {
        const double x = a.first + (cy - a.second) * (b.first - a.first) / (b.second - a.second);
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
    }
    for (int x = int(std::ceil(lo - 0.5)); x <= int(std::floor(hi - 0.5)); ++x) Set(x, y, c);
  }
}

namespace {
// Rows of 5 bits, top first.
const std::map<char, std::vector<uint8_t>>& Font() {
  static const std::map<char, std::vector<uint8_t>> f = {
      {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
      {'D', {30, 17, 17, 17, 17, 17, 30}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
      {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}}, {'I', {14, 4, 4, 4, 4, 4, 14}},
      {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}}, {'M', {17, 27, 21, 21, 17, 17, 17}},
      {'N', {17, 25, 21, 19, 17, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}}, {'P', {30, 17, 17, 30, 16, 16, 16}},
      {'R', {30, 17, 17, 30, 20, 18, 17}}, {'S', {15, 16, 16, 14, 1, 1, 30}},  {'T', {31, 4, 4, 4, 4, 4, 4}},
      {'U', {17, 17, 17, 17, 17, 17, 14}}, {'V', {17, 17, 17, 17, 17, 10, 4}},  {'W', {17, 17, 17, 21, 21, 21, 10}},
      {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},     {'0', {14, 17, 19, 21, 25, 17, 14}},
      {'1', {4, 12, 4, 4, 4, 4, 14}},      {' ', {0, 0, 0, 0, 0, 0, 0}},
  };
  return f;
}
}  // namespace

int Canvas::TextWidth(const std::string& text, int scale) {
  return text.empty() ? 0 : int(text.size()) * 6 * scale - scale;
}

void Canvas::Text(int x, int y, const std::string& text, Rgb c, int scale) {
  for (char ch : text) {
    auto it = Font().find(ch);
    if (it != Font().end()) {
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (it->second[row] & (16 >> col)) Fill(x + col * scale, y + row * scale, scale, scale, c);
    }
    x += 6 * scale;
  }
}

bool Canvas::WriteBmp(const std::string& path) const {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const int stride = (w_ * 3 + 3) & ~3;
  const uint32_t imageSize = uint32_t(stride) * h_, fileSize = 54 + imageSize;
  uint8_t head[54] = {'B', 'M'};
  auto put32 = [&head](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) head[at + i] = uint8_t(v >> (8 * i));
  };
  put32(2, fileSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w_));
  put32(22, uint32_t(h_));
  head[26] = 1;
  head[28] = 24;
  put32(34, imageSize);
  put32(38, 2835);
  put32(42, 2835);
  std::fwrite(head, 1, sizeof head, f);
  std::vector<uint8_t> row(size_t(stride), 0);
  for (int y = h_ - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < w_; ++x) {
      const Rgb c = Get(x, y);
      row[size_t(x) * 3] = c.b;
      row[size_t(x) * 3 + 1] = c.g;
      row[size_t(x) * 3 + 2] = c.r;
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0;
}

}  // namespace art
