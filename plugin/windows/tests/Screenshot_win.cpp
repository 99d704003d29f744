#include "Screenshot_win.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>

#include "shared/Ownership.h"

namespace {

Shot FromDc(HDC source, int x, int y, int w, int h) {
  Shot s;
  if (w <= 0 || h <= 0) return s;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  zl::UniqueMemoryDc dc(CreateCompatibleDC(source));
  zl::UniqueBitmap bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bits) return s;
  {
    zl::SelectedObject select(dc.Get(), bitmap.Get());
    BitBlt(dc.Get(), 0, 0, w, h, source, x, y, SRCCOPY);
    GdiFlush();
  }
  s.width = w;
  s.height = h;
  const auto* p = static_cast<const uint32_t*>(bits);
  s.px.assign(p, p + static_cast<size_t>(w) * h);
  for (uint32_t& v : s.px) v &= 0x00FFFFFFu;
  return s;
}

void PutBig(std::string& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>(v >> (8 * i)));
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  PutBig(out, static_cast<uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  PutBig(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

std::string OutputFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path);
  s = s.substr(0, s.find_last_of('\\'));  // ...\bin
  s = s.substr(0, s.find_last_of('\\'));  // the build folder
  s += "\\test-output";
  CreateDirectoryA(s.c_str(), nullptr);
  s += "\\lyric-windows";
  CreateDirectoryA(s.c_str(), nullptr);
  return s + "\\";
}

}  // namespace

Shot CaptureScreen(const RECT& r) {
  zl::WindowDc screen(nullptr);
  return FromDc(screen.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Shot CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CaptureScreen(r);
}

Shot LoadBitmapPixels(const std::string& path) {
  zl::UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  if (!bitmap) return Shot{};
  BITMAP info{};
  GetObjectA(bitmap.Get(), sizeof info, &info);
  zl::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  zl::SelectedObject select(dc.Get(), bitmap.Get());
  return FromDc(dc.Get(), 0, 0, info.bmWidth, info.bmHeight);
}

bool SaveShot(const Shot& shot, const std::string& name) {
  if (shot.width <= 0) return false;
  std::string raw;
  raw.reserve(static_cast<size_t>(shot.width * 3 + 1) * shot.height);
  for (int y = 0; y < shot.height; ++y) {
    raw.push_back('\0');
    for (int x = 0; x < shot.width; ++x) {
      const uint32_t p = shot.At(x, y);
      raw.push_back(static_cast<char>(p >> 16));
      raw.push_back(static_cast<char>(p >> 8));
      raw.push_back(static_cast<char>(p));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), 6) != Z_OK)
    return false;
  packed.resize(packedSize);
  std::string header;
  PutBig(header, static_cast<uint32_t>(shot.width));
  PutBig(header, static_cast<uint32_t>(shot.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  std::string png("\x89PNG\r\n\x1a\n", 8);
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", "");
  std::ofstream out(OutputFolder() + name + ".png", std::ios::binary | std::ios::trunc);
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

int CountColor(const Shot& s, const RECT& r, uint32_t color) {
  int n = 0;
  for (int y = std::max<int>(0, r.top); y < std::min<int>(s.height, r.bottom); ++y)
    for (int x = std::max<int>(0, r.left); x < std::min<int>(s.width, r.right); ++x)
      if (s.At(x, y) == color) ++n;
  return n;
}
