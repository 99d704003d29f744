// Throughput of ParseLrcText over a large generated lyric. Run the program
// itself; the bytes_per_second column is the figure to watch, and the 2x
// argument shows that the time grows linearly with the input.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "lyriccore/LrcText.h"

namespace {

// About 50 bytes a line: a tenth of the lines carry several time tags, some
// are untimed continuation lines, and an offset tag sits near the top.
std::string MakeLyric(size_t bytes) {
  std::string text = "[ti:Benchmark]\r\n[ar:Nobody]\r\n[offset:+120]\r\n";
  char tag[32];
  unsigned line = 0;
  while (text.size() < bytes) {
    const unsigned ms = line * 1370u;
    std::snprintf(tag, sizeof tag, "[%02u:%02u.%02u]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
    text += tag;
    if (line % 10 == 3) {
      std::snprintf(tag, sizeof tag, "[%02u:%02u.%02u]", (ms + 90000) / 60000, (ms + 90000) / 1000 % 60, 0u);
      text += tag;
      text += tag;
    }
    text += "\xC4\xE3\xBA\xC3 the words of line number ";
    text += std::to_string(line);
    text += "\r\n";
    if (line % 17 == 5) text += "an untimed continuation line\r\n";
    ++line;
  }
  return text;
}

void BM_ParseLrcText(benchmark::State& state) {
  const std::string text = MakeLyric(static_cast<size_t>(state.range(0)));
  LrcTags tags;
  std::vector<TimeSentence> list;
  for (auto _ : state) {
    ParseLrcText(text, tags, list, 0);
    benchmark::DoNotOptimize(list.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["sentences"] = static_cast<double>(list.size());
}

}  // namespace

BENCHMARK(BM_ParseLrcText)->Arg(5 << 20)->Arg(10 << 20)->Arg(20 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
