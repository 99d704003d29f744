// A hostile lyric on screen: any LRC text, settings and play positions go
// through the repaint cycles and a drag without overflow, and what the cycle
// decides stays inside the lyric and the window.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "view/DrawLyricLayout.h"
#include "view/KaraokeFill.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  LyricDrawConfig config;
  config.scrollType = in.ConsumeBool() ? 1 : 0;
  config.IsKalaOk = in.ConsumeBool() ? 1 : 0;
  config.UserDefineFont = in.ConsumeBool() ? 1 : 0;
  config.height = in.ConsumeIntegralInRange<int>(-200, 200);
  config.lyricSize = in.ConsumeIntegralInRange<int>(-5, 200);
  config.backpiclum = in.ConsumeIntegralInRange<int>(-10, 110);
  config.bktype = in.ConsumeIntegralInRange<int>(0, 3);
  const bool mini = in.ConsumeBool();
  const ViewRect rect{in.ConsumeIntegralInRange<int>(-100, 100), in.ConsumeIntegralInRange<int>(-100, 100),
                      in.ConsumeIntegralInRange<int>(-100, 2000), in.ConsumeIntegralInRange<int>(-100, 2000)};
  std::vector<int> positions;
  for (int i = in.ConsumeIntegralInRange<int>(1, 12); i > 0; --i) positions.push_back(in.ConsumeIntegral<int>());
  const int32_t lengthMs = in.ConsumeIntegral<int32_t>();
  const std::string text = in.ConsumeRemainingBytesAsString();

  LrcTags tags;
  std::vector<TimeSentence> lyric;
  std::vector<LineWords> words;
  ParseLrcText(text, tags, lyric, words, lengthMs);

  LyricViewState view;
  view.SetLyricSentences(&lyric, &words);
  view.SetStatus(LyricViewStatus::LyricReady);
  view.SetMessage(tags.ti, 1, 0);
  view.mini.store(mini ? 1 : 0);
  LyricViewShared shared;
  DrawLyricLayout layout(shared);
  layout.SetLyricStatus(&view);
  layout.SetDrawConfig(&config);
  LyricCycleInput cycle;
  cycle.lyricRect = rect;
  uint32_t now = 1000;
  for (int position : positions) {
    cycle.position = position;
    cycle.now = now += 300;
    zl::Lock lock(view.DrawLock());
    const LyricFrame& f = layout.RunCycle(cycle);
    FUZZ_CHECK(f.currentIndex >= 0 && static_cast<size_t>(f.currentIndex) <= lyric.size());
    for (const LyricLinePlacement& line : f.lines.lines) {
      FUZZ_CHECK(line.index >= 1 && static_cast<size_t>(line.index) <= lyric.size());
      if (line.karaoke) FUZZ_CHECK(line.textLeft <= line.splitX && line.splitX <= line.textRight);
    }
    if (f.currentIndex > 0 && !words.empty()) {
      const size_t k = static_cast<size_t>(f.currentIndex - 1);
      const KaraokeSpan span = KaraokeFill(lyric[k], &words[k], position);
      FUZZ_CHECK(span.from <= span.to && span.to <= std::strlen(lyric[k].text));
      FUZZ_CHECK(span.fraction >= 0.0 && span.fraction <= 1.0);
    }
  }

  if (!lyric.empty()) {
    LyricDragTracker drag;
    const DragLayout dl = DragLayoutOf(layout.Frame(), view);
    drag.Begin(lyric, dl, positions.front(), ViewPoint{rect.left, rect.top});
    for (int position : positions) (void)drag.TimeAt(ViewPoint{position % 5000, (position / 7) % 5000});
  }
  return 0;
}
