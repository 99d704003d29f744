#include "MvTestSupport_win.h"

#include <objbase.h>
#include <zlib.h>

#include <cstdio>

namespace mvtest {

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD began = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - began >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

TestWindow::TestWindow(const char* title, int x, int y, int width, int height, bool visible, Handler handler)
    : handler_(std::move(handler)) {
  static const char* kClass = "ZlMvTestWindow";
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(0, kClass, title, WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), x, y, width,
                          height, nullptr, nullptr, wc.hInstance, this);
}

TestWindow::~TestWindow() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (self && self->handler_ && self->handler_(hwnd, msg, wp, lp, result)) return result;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string BesideMe(const std::string& fileName) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\') + 1) + fileName;
}

bool RegisterStandInFilters() {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  struct Uninit {
    HRESULT hr;
    ~Uninit() {
      if (SUCCEEDED(hr)) CoUninitialize();
    }
  } uninit{com};
  for (const char* name : {"FLVSplitter.ax", "ffdshow.ax"}) {
    HMODULE m = LoadLibraryA(BesideMe(name).c_str());
    if (!m) return false;
    auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(m, "DllRegisterServer")));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(m);
    if (!ok) return false;
  }
  return true;
}

std::string ScratchFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "zlmv_" + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + fd.cFileName).c_str());
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  return folder;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::string ReadFileBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  std::string bytes;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

Capture CaptureClient(HWND window) {
  Capture c;
  RECT r{};
  GetClientRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  c.width = r.right;
  c.height = r.bottom;
  if (c.width <= 0 || c.height <= 0) return c;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = c.width;
  bi.bmiHeader.biHeight = -c.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, c.width, c.height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  c.rgb.assign(px, px + size_t(c.width) * c.height);
  for (auto& v : c.rgb) v &= 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

namespace {

void Be32(std::string& s, uint32_t v) {
  for (int i = 3; i >= 0; --i) s += char(v >> (8 * i));
}

void Chunk(std::string& png, const char* type, const std::string& data) {
  Be32(png, uint32_t(data.size()));
  std::string body = std::string(type, 4) + data;
  png += body;
  Be32(png, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

}  // namespace

std::string SaveScreenshot(const Capture& c, const std::string& name) {
  std::string raw;
  for (int y = 0; y < c.height; ++y) {
    raw += '\0';
    for (int x = 0; x < c.width; ++x) {
      const uint32_t v = c.At(x, y);
      raw += char(v >> 16);
      raw += char(v >> 8);
      raw += char(v);
    }
  }
  uLongf packed = compressBound(uLong(raw.size()));
  std::string z(packed, '\0');
  compress2(reinterpret_cast<Bytef*>(&z[0]), &packed, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), 9);
  z.resize(packed);
  std::string ihdr;
  Be32(ihdr, uint32_t(c.width));
  Be32(ihdr, uint32_t(c.height));
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);
  std::string png("\x89PNG\r\n\x1a\n", 8);
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  const std::string folder = BesideMe("screenshots");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\" + name + ".png";
  WriteFileBytes(path, png);
  return path;
}

}  // namespace mvtest
