// What one repaint cycle of each lyric window costs the player's UI thread:
// the windows with a 300-line lyric that moves on by one timer interval per
// cycle, measured in the thread's own CPU time. The whole-process figures of
// lyric_windows_bench move by tenths of a percent from run to run under Wine;
// this one does not, and it is what the repaint timers multiply.
//
//   lyric_paint_bench.exe [CYCLES]   (default 3000 per window)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "WindowsTestbed_win.h"

namespace {

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](FILETIME t) {
    return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// CPU milliseconds per cycle, the position moving `stepMs` each cycle and
// the window's messages served between cycles as the player's loop would.
double MsPerCycle(WindowsTestbed& bed, HWND window, int stepMs, int cycles) {
  int position = 20000;
  bed.Controller().position.store(position);
  bed.Controller().OnTimerPaint(window);
  const double before = ThreadCpuSeconds();
  for (int i = 0; i < cycles; ++i) {
    position += stepMs;
    bed.Controller().position.store(position);
    bed.Controller().OnTimerPaint(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return 1000.0 * (ThreadCpuSeconds() - before) / cycles;
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 3000;
  WindowsTestbed bed;
  bed.UsePlainLook(true);
  bed.ShowLyric(WindowsTestbed::TestLyric(300), "Bench Song - Bench Artist");

  bed.Windows().EnsureMainWindow();
  HWND main = bed.Windows().MainWindow();
  SetWindowPos(main, HWND_TOPMOST, 820, 40, 300, 320, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  WindowsTestbed::Pump(100);
  const double mainMs = MsPerCycle(bed, main, 300, cycles);
  bed.Windows().HideMainWindow();

  bed.Windows().ShowMiniWindow();
  bed.View().mini.store(1);
  HWND mini = bed.Windows().MiniWindow();
  SetWindowPos(mini, HWND_TOPMOST, 820, 420, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
  WindowsTestbed::Pump(100);
  const double miniMs = MsPerCycle(bed, mini, 30, cycles);

  std::printf("main window: %.3f ms CPU a cycle, every 300 ms: %.3f %% of one core\n", mainMs, mainMs / 300 * 100);
  std::printf("mini window: %.3f ms CPU a cycle, every 30 ms:  %.3f %% of one core\n", miniMs, miniMs / 30 * 100);
  return 0;
}
