#pragma once
// The lyric drawing engine: runs one repaint cycle of the layout and draws
// the frame it returns on a back buffer (background colour and picture,
// message line, lyric lines with the karaoke split, edge fade, time marker,
// picture strip), then copies what changed to the window.
//
// Lyric windows' thread only; PaintLyric runs inside the view's draw lock.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "shared/Ownership.h"
#include "view/DrawLyricLayout.h"
#include "view/LyricPicture_win.h"
#include "view/StripGeometry.h"

class DibSurface;
class CachedFont;
struct FontWanted;

struct LyricPaintInput {
  ViewRect lyricRect{};         // client coordinates of the window's lyric area
  int position = 0;             // ms shown (the drag time while dragging)
  ViewColor miniBackground = 0;  // the mini skin's background
};

class DrawLyric {
 public:
  // `home` is the install home, where the hand cursors are ("": arrows).
  explicit DrawLyric(const std::string& home, LyricViewShared& shared = LyricViewProcessWide());
  ~DrawLyric();
  DrawLyric(const DrawLyric&) = delete;
  DrawLyric& operator=(const DrawLyric&) = delete;

  void SetLyricStatus(LyricViewState* view);
  void SetDrawConfig(const LyricDrawConfig* config);

  // One repaint cycle for the window; nothing for a null window.
  void PaintLyric(HWND window, const LyricPaintInput& in);
  void RequestFullRepaint() { m_layout.RequestFullRepaint(); }

  // What a client point is over, from what the last cycles drew.
  LyricHitResult HitTest(ViewPoint p) const;
  // The strip item under the mouse (-1: none); its frame turns to the hover
  // look on the next (full) repaint.
  void SetHoveredStrip(int id);
  int HoveredStrip() const { return m_hoveredStrip; }

  HCURSOR CursorFor(LyricCursor cursor) const;
  HCURSOR GrabbingCursor() const;

  const LyricFrame& Frame() const { return m_layout.Frame(); }
  const std::vector<StripHitRect>& StripHits() const { return m_stripHits; }
  ViewRect MessageHitRect() const { return m_messageHit; }
  // The back buffer as 0x00RRGGBB words, top row first (tests and screenshots).
  bool CopyBackBuffer(std::vector<uint32_t>& pixels, int& width, int& height) const;

 private:
  void DrawBackgroundPicture(const LyricFrame& f);
  void DrawMessageLine(const LyricFrame& f);
  void DrawLines(const LyricFrame& f);
  void DrawTimeMarker(const LyricFrame& f);
  void DrawStrip(const LyricFrame& f);
  // The font asked for, left selected in `surface`; a font about to be
  // created again is first taken out of every surface holding it.
  HFONT UseFont(DibSurface& surface, CachedFont& font, const FontWanted& wanted);

  DrawLyricLayout m_layout;
  LyricViewState* m_view = nullptr;
  const LyricDrawConfig* m_config = nullptr;
  zl::ComInit m_com;

  std::unique_ptr<DibSurface> m_back;
  std::unique_ptr<DibSurface> m_pictureCache;  // the picture stretched to the lyric area
  std::unique_ptr<DibSurface> m_layer;         // background colour with the picture blended on
  bool m_layerValid = false;
  int m_layerAlpha = -1;
  ViewColor m_layerColor = 0;
  std::unique_ptr<DibSurface> m_measureDc;
  ViewRect m_cacheRect{};
  std::string m_cachePath;

  std::unique_ptr<CachedFont> m_lyricFont;
  std::unique_ptr<CachedFont> m_messageFont;
  std::unique_ptr<CachedFont> m_captionFont;
  std::unique_ptr<CachedFont> m_markerFont;
  // Height of the lyric font's cell, taken once per font.
  LyricTextStyle m_metricsStyle{};
  bool m_textHeightKnown = false;
  int m_textHeight = 0;

  LyricPicture m_background;
  LyricPicture m_stripPictures[kMaxStripPictures];
  std::string m_stripCaption;
  size_t m_stripCount = 0;
  std::vector<StripHitRect> m_stripHits;
  int m_hoveredStrip = -1;
  ViewRect m_messageHit{};
  bool m_messageIsLink = false;

  zl::UniquePen m_framePen;
  zl::UniquePen m_hoverPen;
  zl::UniqueBrush m_stripBrush;
  zl::UniqueCursor m_openHand;
  zl::UniqueCursor m_closedHand;
};
