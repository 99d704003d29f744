// What any window pays under this platform to be repainted on a 300 ms
// timer, whatever it draws: the reference the lyric windows' figures are
// read against. A window of the main lyric window's size is woken by the
// timer and, with `present`, fills a 32-bit DIB and copies it to the screen.
//
//   present_floor_bench.exe [SECONDS [present]]   (default 60, the timer alone)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CpuTimes_win.h"

#include "CpuTimes_win.h"

namespace {

constexpr int kSide = 300;
constexpr UINT_PTR kRepaint = 1, kStart = 2, kEnd = 3;

bool g_present = false;
HDC g_memory = nullptr;
uint32_t* g_bits = nullptr;
double g_cpuAtStart = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kStart) {
    KillTimer(window, kStart);
    g_cpuAtStart = bench::ProcessCpuSeconds();
    return 0;
  }
  if (msg == WM_TIMER && wParam == kEnd) {
    PostQuitMessage(0);
    return 0;
  }
  if (msg == WM_TIMER && wParam == kRepaint) {
    if (g_present && g_bits) {
      static uint32_t cycle = 0;
      ++cycle;
      for (int i = 0; i < kSide * kSide; ++i) g_bits[i] = 0x102030u + cycle;
      HDC dc = GetDC(window);
      BitBlt(dc, 0, 0, kSide, kSide, g_memory, 0, 0, SRCCOPY);
      ReleaseDC(window, dc);
    }
    return 0;
  }
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 60;
  g_present = argc > 2 && std::strcmp(argv[2], "present") == 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ZoLyricPresentFloor";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 100,
                                100, kSide, kSide, nullptr, nullptr, wc.hInstance, nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  g_memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(g_memory, bitmap);
  g_bits = static_cast<uint32_t*>(bits);
  if (!window || !bitmap) {
    std::fprintf(stderr, "no window or no bitmap\n");
    return 1;
  }
  // Measured after the window has settled on the screen.
  SetTimer(window, kRepaint, 300, nullptr);
  SetTimer(window, kStart, 3000, nullptr);
  SetTimer(window, kEnd, static_cast<UINT>(3 + seconds) * 1000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  const double cpu = bench::ProcessCpuSeconds() - g_cpuAtStart;
  std::printf("%s every 300 ms: %.3f %% of one core (%.3f ms a cycle)\n",
              g_present ? "timer, fill and copy to the screen" : "timer alone", 100.0 * cpu / seconds,
              1000.0 * cpu / (seconds / 0.3));
  SelectObject(g_memory, old);
  DeleteObject(bitmap);
  DeleteDC(g_memory);
  DestroyWindow(window);
  return 0;
}
