#include "view/DrawLyricLayout.h"

#include <cstring>

#include "shared/GbkText.h"

namespace {

// Stale areas between dirty-rectangle copies last at most this long.
constexpr uint32_t kFullRepaintEveryMs = 1000;

bool ShowsPicture(const LyricDrawConfig& config) {
  return config.bktype == kBackgroundSingerPicture || config.bktype == kBackgroundPictureFile;
}

}  // namespace

std::string BackgroundPictureSource(const LyricDrawConfig& config, const LyricViewState& view) {
  if (view.mini.load() != 0 || view.Status() != LyricViewStatus::LyricReady) return std::string();
  if (config.bktype == kBackgroundSingerPicture) return view.BackgroundPicturePath();
  if (config.bktype == kBackgroundPictureFile) return std::string(config.picpath, strnlen(config.picpath, sizeof config.picpath));
  return std::string();
}

ViewColor LyricBackgroundColor(const LyricDrawConfig& config, bool mini, ViewColor miniBackground) {
  if (mini) return miniBackground;
  return config.bktype == kBackgroundColor ? config.backcolor : 0;
}

LyricHitAreas HitAreasOf(const LyricFrame& frame, bool messageIsLink,
                         const std::vector<StripHitRect>* stripHits) {
  return LyricHitAreas{messageIsLink, frame.lines.title.textRect, frame.lyricRect, frame.stripRect, stripHits};
}

DragLayout DragLayoutOf(const LyricFrame& frame, const LyricViewState& view) {
  return DragLayout{frame.horizontal, frame.mini, view.lineHeight.load(), frame.centre};
}

DrawLyricLayout::DrawLyricLayout(LyricViewShared& shared) : m_shared(shared) {}

const LyricFrame& DrawLyricLayout::RunCycle(const LyricCycleInput& in) {
  LyricFrame& f = m_frame;
  f.redraw = false;
  f.copyToScreen = false;
  if (m_view == nullptr || m_config == nullptr) return f;
  const LyricDrawConfig& config = *m_config;

  // Whole-area repaints: exposure, a heartbeat that bounds stale areas, and
  // the first seconds of a song when the intro animates everything.
  bool full = m_fullRepaint || in.hasUpdateRegion;
  if (in.now - m_lastFullTick > kFullRepaintEveryMs) {
    full = true;
    m_lastFullTick = in.now;
  }
  if (m_shared.previousPosition > 0 && m_shared.previousPosition < kIntroEndMs) full = true;

  f.mini = m_view->mini.load() != 0;
  f.horizontal = config.scrollType != 0;
  f.oneLine = f.horizontal || f.mini;
  f.savedRect = in.lyricRect;
  f.position = in.position;
  const LyricMessage message = m_view->Message();
  zl::CopyGbkBounded(f.message, sizeof f.message, message.text);

  if (in.position == m_shared.previousPosition) {
    m_layout.moved = false;
    ++m_shared.unchangedCycles;
  } else {
    m_shared.unchangedCycles = 0;
  }
  m_shared.previousPosition = in.position;

  const LyricViewStatus status = m_view->Status();
  const bool ready = status == LyricViewStatus::LyricReady;
  const std::vector<TimeSentence>* sentences = ready ? &m_view->Sentences() : nullptr;
  const bool stripHasItems = !m_view->Strip().empty();

  f.style = LyricTextStyleFor(config, f.mini);
  f.edgeBand = EdgeBand(in.position);
  const StripSlide slide = SlideStrip(in.lyricRect, stripHasItems, in.position);
  f.lyricRect = slide.lyricRect;
  f.stripRect = slide.stripRect;
  const PictureAlpha picture = BackgroundPictureAlpha(in.position, config.backpiclum * 0.01);
  f.pictureAlpha = picture.alpha;
  f.pictureAlphaByte = AlphaByte(picture.alpha);
  f.pictureFading = picture.fading;

  const LyricLayoutInput layoutIn{sentences, ready, in.position, f.lyricRect, f.oneLine,
                                  f.style.lineHeight, f.style.charWidth, m_view->adjustMode.load() != 0};
  LayoutLyric(layoutIn, m_layout, m_shared);
  m_view->lineHeight.store(f.style.lineHeight);
  f.currentIndex = m_layout.currentIndex;
  f.progress = m_layout.progress;
  f.scrollOrigin = m_layout.scrollOrigin;
  f.centre = m_layout.centre;
  f.moved = m_layout.moved;

  f.background = LyricBackgroundColor(config, f.mini, in.miniBackground);
  if (picture.fading && in.position != 0) full = true;
  f.fullRepaint = full;
  f.redraw = full || f.moved || picture.fading;

  if (f.redraw) {
    DecideSteps(in, ready, stripHasItems);
    f.dirtyRect = ViewRect{0, 0, 0, 0};
    f.lines.lines.clear();
    f.lines.title = TitleLine{};
    if (f.drawText) {
      // The current sentence's word times, when the lyric has them.
      const std::vector<LineWords>& words = m_view->Words();
      const size_t current = m_layout.currentIndex > 0 ? static_cast<size_t>(m_layout.currentIndex - 1) : 0;
      const LineWords* currentWords =
          sentences && words.size() == sentences->size() && current < words.size() ? &words[current] : nullptr;
      const LineLayoutInput lineIn{sentences, f.message, message.isLink != 0, f.mini, f.oneLine,
                                   f.lyricRect, m_layout.scrollOrigin, m_layout.currentIndex,
                                   m_layout.progress, &f.style, config.IsKalaOk != 0, in.measurer,
                                   currentWords, in.position};
      LayoutLyricLines(lineIn, f.lines, m_layout.scrollState, f.dirtyRect);
    }
  }
  DecideCopy();
  m_fullRepaint = false;
  return f;
}

void DrawLyricLayout::DecideSteps(const LyricCycleInput& in, bool ready, bool stripHasItems) {
  LyricFrame& f = m_frame;
  const LyricDrawConfig& config = *m_config;
  const bool afterIntro = in.position > kIntroEndMs;
  f.drawBackgroundPicture = !f.mini && ready && ShowsPicture(config) && in.backgroundPictureLoaded;
  // During the intro the picture has the window to itself.
  f.drawText = !(f.drawBackgroundPicture && !afterIntro);
  f.drawEdgeFade = !f.mini && afterIntro;
  f.drawTimeMarker = afterIntro && m_view->adjustMode.load() != 0;
  f.drawStrip = !f.mini && ready && stripHasItems && Overlaps(f.stripRect, f.savedRect);
}

void DrawLyricLayout::DecideCopy() {
  LyricFrame& f = m_frame;
  if (f.mini) {
    f.copyRect = f.savedRect;
  } else if (f.fullRepaint) {
    f.copyRect = f.savedRect;
  } else if (!IsEmpty(f.dirtyRect)) {
    f.copyRect = f.dirtyRect;
  } else {
    f.copyRect = ViewRect{0, 0, 0, 0};
  }
  f.copyToScreen = !IsEmpty(f.copyRect);
}
