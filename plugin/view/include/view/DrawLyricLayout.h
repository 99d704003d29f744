#pragma once
// The layout half of the lyric drawing engine: the state a repaint cycle keeps
// and every decision of the cycle (what is on screen at this position, what
// must be redrawn, what is copied to the screen). The GDI half owns one,
// runs a cycle inside the draw lock and executes the resulting frame.
#include <cstdint>
#include <string>

#include "view/IntroTimeline.h"
#include "view/LyricDragTracker.h"
#include "view/LyricHitTest.h"
#include "view/LayoutLyric.h"
#include "view/LyricDrawConfig.h"
#include "view/LyricLineLayout.h"
#include "view/LyricTextStyle.h"
#include "view/LyricViewShared.h"
#include "view/LyricViewState.h"
#include "view/ViewGeometry.h"

struct LyricCycleInput {
  bool hasUpdateRegion = false;  // the window has an area the system wants repainted
  uint32_t now = 0;              // tick count in ms
  ViewRect lyricRect{};          // client coordinates; all zero without an owner
  int position = 0;              // ms: the drag time while dragging, else the player's
  ViewColor miniBackground = 0;  // background of the mini skin
  // A picture is loaded for BackgroundPictureSource() of this cycle.
  bool backgroundPictureLoaded = false;
  const TextMeasurer* measurer = nullptr;  // null: byte length × char width
};

// Everything one cycle decided. Valid until the next cycle.
struct LyricFrame {
  bool mini = false;
  bool horizontal = false;   // the horizontal scrolling setting
  bool oneLine = false;      // one-line layout: the horizontal setting or the mini window
  bool fullRepaint = false;  // redraw and copy the whole lyric area
  bool moved = false;
  bool pictureFading = false;
  bool redraw = false;  // run the drawing steps at all

  int position = 0;
  LyricTextStyle style{};
  ViewColor background = 0;

  ViewRect savedRect{};  // the lyric area as the owner gave it
  ViewRect lyricRect{};  // the part above the strip
  ViewRect stripRect{};  // all zero: no strip in this window
  ViewRect dirtyRect{};  // what the drawn lines covered

  int edgeBand = 0;
  double pictureAlpha = 1.0;
  int pictureAlphaByte = 255;

  int currentIndex = 0;
  double progress = 0.0;
  int scrollOrigin = 0;
  int centre = 0;

  // Drawing steps, in their order; each only when `redraw`.
  bool drawBackgroundPicture = false;
  bool drawText = false;  // message line and lyric lines below
  bool drawEdgeFade = false;
  bool drawTimeMarker = false;
  bool drawStrip = false;

  char message[512] = "";
  LineLayout lines;  // message line and visible sentences

  bool copyToScreen = false;
  ViewRect copyRect{};
};

// The picture the background shows this cycle, empty for none: main window
// with a lyric only; the singer's picture or the chosen file by `bktype`.
std::string BackgroundPictureSource(const LyricDrawConfig& config, const LyricViewState& view);

// Background colour of the lyric area.
ViewColor LyricBackgroundColor(const LyricDrawConfig& config, bool mini, ViewColor miniBackground);

// The areas of the window as the frame left them, for hit testing.
LyricHitAreas HitAreasOf(const LyricFrame& frame, bool messageIsLink,
                         const std::vector<StripHitRect>* stripHits);

// The layout a drag starts from.
DragLayout DragLayoutOf(const LyricFrame& frame, const LyricViewState& view);

class DrawLyricLayout {
 public:
  explicit DrawLyricLayout(LyricViewShared& shared = LyricViewProcessWide());

  void SetLyricStatus(LyricViewState* view) { m_view = view; }
  void SetDrawConfig(const LyricDrawConfig* config) { m_config = config; }

  // The next cycle redraws and copies everything (hover changes, exposure).
  void RequestFullRepaint() { m_fullRepaint = true; }

  // One repaint cycle. The caller holds the view's draw lock. Without a bound
  // view or config nothing is laid out and nothing is copied.
  const LyricFrame& RunCycle(const LyricCycleInput& in);

  const LyricFrame& Frame() const { return m_frame; }
  const LyricLayoutState& Layout() const { return m_layout; }

 private:
  void DecideSteps(const LyricCycleInput& in, bool ready, bool stripHasItems);
  void DecideCopy();

  LyricViewShared& m_shared;
  LyricViewState* m_view = nullptr;
  const LyricDrawConfig* m_config = nullptr;

  bool m_fullRepaint = false;
  uint32_t m_lastFullTick = 0;
  LyricLayoutState m_layout;
  LyricFrame m_frame;
};
