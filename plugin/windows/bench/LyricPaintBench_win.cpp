// What one repaint cycle of each lyric window costs the player's UI thread:
// the windows with a 300-line lyric that moves on by one timer interval per
// cycle, measured in the thread's own CPU time. The whole-process figures of
// lyric_windows_bench move by tenths of a percent from run to run under Wine;
// this one does not, and it is what the repaint timers multiply.
//
//   lyric_paint_bench.exe [CYCLES [spaced]]   (default 3000 per window, back to back)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CpuTimes_win.h"
#include "WindowsTestbed_win.h"

namespace {

// The player's message loop between two timer ticks: asleep until a
// message comes or the time is up.
void WaitServing(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

// CPU milliseconds per cycle, the position moving `stepMs` each cycle and
// the window's messages served between cycles as the player's loop would.
// With `spaced` the cycles come `stepMs` apart, as the timer brings them, so
// that each one's picture reaches the screen before the next (back to back,
// Wine sends only some of them on to the X server).
double MsPerCycle(WindowsTestbed& bed, HWND window, int stepMs, int cycles, bool spaced) {
  // The bench drives the cycles itself: the window's own timer would add
  // cycles of its own while the bench waits.
  KillTimer(window, lyricwin::kRepaintTimer);
  int position = 20000;
  bed.Controller().position.store(position);
  bed.Controller().OnTimerPaint(window);
  const double before = bench::ThreadCpuSeconds();
  for (int i = 0; i < cycles; ++i) {
    position += stepMs;
    bed.Controller().position.store(position);
    bed.Controller().OnTimerPaint(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (spaced) WaitServing(static_cast<DWORD>(stepMs));
  }
  return 1000.0 * (bench::ThreadCpuSeconds() - before) / cycles;
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 3000;
  const bool spaced = argc > 2 && std::strcmp(argv[2], "spaced") == 0;
  WindowsTestbed bed;
  bed.UsePlainLook(true);
  bed.ShowLyric(WindowsTestbed::TestLyric(300), "Bench Song - Bench Artist");

  bed.Windows().EnsureMainWindow();
  HWND main = bed.Windows().MainWindow();
  SetWindowPos(main, HWND_TOPMOST, 820, 40, 300, 320, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  WindowsTestbed::Pump(100);
  const double mainMs = MsPerCycle(bed, main, 300, cycles, spaced);
  bed.Windows().HideMainWindow();

  bed.Windows().ShowMiniWindow();
  bed.View().mini.store(1);
  HWND mini = bed.Windows().MiniWindow();
  SetWindowPos(mini, HWND_TOPMOST, 820, 420, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
  WindowsTestbed::Pump(100);
  const double miniMs = MsPerCycle(bed, mini, 30, spaced ? cycles * 10 : cycles, spaced);

  std::printf("main window: %.3f ms CPU a cycle, every 300 ms: %.3f %% of one core\n", mainMs, mainMs / 300 * 100);
  std::printf("mini window: %.3f ms CPU a cycle, every 30 ms:  %.3f %% of one core\n", miniMs, miniMs / 30 * 100);
  return 0;
}
