#pragma once
// Screen captures for the window tests, kept as PNG files under the build's
// test-output folder so that a person can look at them.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Shot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> px;  // 0x00RRGGBB, top row first
  uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

// What the screen shows in `r` (screen coordinates).
Shot CaptureScreen(const RECT& r);
// What the screen shows of a window.
Shot CaptureWindow(HWND window);
// A DIB of a bitmap file as the same words (empty when it cannot be read).
Shot LoadBitmapPixels(const std::string& path);
// "<build>\test-output\lyric-windows\<name>.png"; true when written.
bool SaveShot(const Shot& shot, const std::string& name);

// COLORREF (0x00BBGGRR) as a pixel word (0x00RRGGBB).
inline uint32_t PixelOf(COLORREF c) { return (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu); }
// Pixels of exactly `color` in the rectangle (clipped to the shot).
int CountColor(const Shot& s, const RECT& r, uint32_t color);
