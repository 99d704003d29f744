// Cost of the layout half of one repaint cycle over a 300-line lyric: the
// mini window repaints every 30 ms, so the per-cycle figure must stay far
// below that. Each iteration advances the position by one 30 ms period; the
// "Full" variants also force a full repaint, so every cycle lays out every
// visible line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "view/DrawLyricLayout.h"

namespace {

constexpr int kLines = 300;
constexpr int kLineMs = 3100;
constexpr int kPeriodMs = 30;

std::vector<TimeSentence> MakeLyric() {
  std::vector<TimeSentence> list(kLines);
  for (int i = 0; i < kLines; ++i) {
    list[i].startTime = 2000 + i * kLineMs;
    list[i].endTime = list[i].startTime + kLineMs;
    std::snprintf(list[i].text, sizeof list[i].text, "\xC4\xE3\xBA\xC3 the words of line number %d", i);
  }
  return list;
}

void RunCycles(benchmark::State& state, int scrollType, bool mini, bool everyCycleFull) {
  const std::vector<TimeSentence> lyric = MakeLyric();
  LyricViewState view;
  view.SetLyricSentences(&lyric);
  view.SetStatus(LyricViewStatus::LyricReady);
  view.SetMessage("Artist - Title", 1, 6);
  view.mini = mini ? 1 : 0;
  LyricDrawConfig config;
  config.scrollType = scrollType;
  config.highlightrgb = 0x00FF00;
  config.rgb = 0xC08000;
  LyricViewShared shared;
  DrawLyricLayout layout(shared);
  layout.SetLyricStatus(&view);
  layout.SetDrawConfig(&config);

  LyricCycleInput in;
  in.lyricRect = mini ? ViewRect{0, 0, 400, 20} : ViewRect{0, 0, 300, 400};
  const int songEnd = 2000 + kLines * kLineMs;
  int position = 0;
  uint32_t tick = 0;
  size_t lines = 0;
  zl::Lock lock(view.DrawLock());
  for (auto _ : state) {
    position = position >= songEnd ? 0 : position + kPeriodMs;
    tick += kPeriodMs;
    in.position = position;
    in.now = tick;
    if (everyCycleFull) layout.RequestFullRepaint();
    const LyricFrame& frame = layout.RunCycle(in);
    lines += frame.lines.lines.size();
    benchmark::DoNotOptimize(frame.dirtyRect);
  }
  state.counters["lines/cycle"] =
      benchmark::Counter(static_cast<double>(lines) / static_cast<double>(state.iterations()));
}

void BM_CycleVertical(benchmark::State& state) { RunCycles(state, 0, false, false); }
void BM_CycleHorizontal(benchmark::State& state) { RunCycles(state, 1, false, false); }
void BM_CycleMini(benchmark::State& state) { RunCycles(state, 0, true, false); }
// Worst case: every cycle lays out every visible line (a window being exposed or hovered).
void BM_CycleVerticalFull(benchmark::State& state) { RunCycles(state, 0, false, true); }
void BM_CycleHorizontalFull(benchmark::State& state) { RunCycles(state, 1, false, true); }

}  // namespace

BENCHMARK(BM_CycleVertical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CycleHorizontal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CycleMini)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CycleVerticalFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CycleHorizontalFull)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
