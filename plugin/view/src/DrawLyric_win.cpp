#include "view/DrawLyric_win.h"

#include <algorithm>
#include <cstring>

#include "GdiSurface_win.h"
#include "view/EdgeFade.h"
#include "view/StripGeometry.h"

namespace {

constexpr ViewColor kMessageColor = 0x54FF00;
constexpr ViewColor kFramePenColor = 0x5C5C50;
constexpr ViewColor kHoverPenColor = 0x63C7DE;
constexpr int kCharsetGb2312 = 134;
constexpr int kCaptionHeight = 15;

RECT ToRect(const ViewRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
ViewRect ToView(const RECT& r) { return ViewRect{r.left, r.top, r.right, r.bottom}; }

// The lyric font's real extents, for the karaoke split, in a DC that keeps
// the lyric font selected.
class GdiMeasurer : public TextMeasurer {
 public:
  explicit GdiMeasurer(HDC dc) : m_dc(dc) {}
  int TextWidth(const char* text, size_t bytes) const override {
    SIZE size{};
    if (!m_dc || !GetTextExtentPoint32A(m_dc, text, static_cast<int>(bytes), &size)) return 0;
    return size.cx;
  }

 private:
  HDC m_dc;
};

FontWanted LyricFontWanted(const LyricTextStyle& style) {
  return FontWanted{style.face, style.fontHeight, style.weight, style.italic, style.underline, kCharsetGb2312};
}

HCURSOR LoadCursorFile(const std::string& home, const char* name) {
  if (home.empty()) return nullptr;
  const std::string path = home + "\\face\\" + name;
  return static_cast<HCURSOR>(LoadImageA(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

// Text of a sentence or caption, cut at its field's end.
int TextLength(const char* text, size_t limit) { return static_cast<int>(strnlen(text, limit)); }

}  // namespace

DrawLyric::DrawLyric(const std::string& home, LyricViewShared& shared)
    : m_layout(shared),
      m_com(COINIT_APARTMENTTHREADED),
      m_back(std::make_unique<DibSurface>()),
      m_pictureCache(std::make_unique<DibSurface>()),
      m_layer(std::make_unique<DibSurface>()),
      m_measureDc(std::make_unique<DibSurface>()),
      m_lyricFont(std::make_unique<CachedFont>()),
      m_messageFont(std::make_unique<CachedFont>()),
      m_captionFont(std::make_unique<CachedFont>()),
      m_markerFont(std::make_unique<CachedFont>()),
      m_framePen(CreatePen(PS_SOLID, 1, kFramePenColor)),
      m_hoverPen(CreatePen(PS_SOLID, 2, kHoverPenColor)),
      m_stripBrush(CreateSolidBrush(0)),
      m_openHand(LoadCursorFile(home, "hand-open.cur")),
      m_closedHand(LoadCursorFile(home, "hand-close.cur")) {
  m_measureDc->Ensure(1, 1);
}

DrawLyric::~DrawLyric() {
  // The fonts go before the surfaces: no DC may still hold one.
  m_back->ReleaseFont();
  m_measureDc->ReleaseFont();
}

void DrawLyric::SetLyricStatus(LyricViewState* view) {
  m_view = view;
  m_layout.SetLyricStatus(view);
}

void DrawLyric::SetDrawConfig(const LyricDrawConfig* config) {
  m_config = config;
  m_layout.SetDrawConfig(config);
}

HFONT DrawLyric::UseFont(DibSurface& surface, CachedFont& font, const FontWanted& wanted) {
  if (!font.Holds(wanted) && font.Current()) {
    m_back->ReleaseFont(font.Current());
    m_measureDc->ReleaseFont(font.Current());
  }
  HFONT handle = font.Get(wanted);
  surface.UseFont(handle);
  return handle;
}

void DrawLyric::PaintLyric(HWND window, const LyricPaintInput& in) {
  if (!window || !m_view || !m_config) return;
  m_background.Use(BackgroundPictureSource(*m_config, *m_view));

  // The measuring font is this cycle's lyric font; the layout asks for the
  // real extent of the karaoke line only.
  const LyricTextStyle style = LyricTextStyleFor(*m_config, m_view->mini.load() != 0);
  UseFont(*m_measureDc, *m_lyricFont, LyricFontWanted(style));
  GdiMeasurer measurer(m_measureDc->Dc());

  LyricCycleInput cycle;
  // NOTE: the update region is not asked for here (a server round trip every
  // cycle): the system delivers WM_PAINT before any timer message, and the
  // window's WM_PAINT asks for the full repaint itself.
  cycle.hasUpdateRegion = false;
  cycle.now = GetTickCount();
  cycle.lyricRect = in.lyricRect;
  cycle.position = in.position;
  cycle.miniBackground = in.miniBackground;
  cycle.backgroundPictureLoaded = m_background.Loaded();
  cycle.measurer = &measurer;
  const LyricFrame& f = m_layout.RunCycle(cycle);

  if (f.redraw) {
    RECT client{};
    GetClientRect(window, &client);
    if (!m_back->Ensure(client.right, client.bottom)) return;
    m_stripHits.clear();
    HDC dc = m_back->Dc();
    if (f.drawBackgroundPicture) {
      DrawBackgroundPicture(f);
    } else {
      zl::UniqueBrush fill(CreateSolidBrush(f.background));
      const RECT lyric = ToRect(f.lyricRect);
      FillRect(dc, &lyric, fill.Get());
    }
    m_messageHit = ViewRect{0, 0, 0, 0};
    m_messageIsLink = f.lines.title.underline;
    if (f.drawText) {
      SetBkMode(dc, TRANSPARENT);
      DrawMessageLine(f);
      DrawLines(f);
    }
    if (f.drawEdgeFade) {
      GdiFlush();
      FadeEdges(m_back->Pixels(), m_back->Width(), m_back->Height(), f.lyricRect, f.edgeBand);
    }
    if (f.drawTimeMarker) DrawTimeMarker(f);
    if (f.drawStrip) DrawStrip(f);
  }
  if (f.copyToScreen && m_back->Valid()) {
    const ViewRect r = Intersection(f.copyRect, ViewRect{0, 0, m_back->Width(), m_back->Height()});
    if (!IsEmpty(r)) {
      zl::WindowDc screen(window);
      BitBlt(screen.Get(), r.left, r.top, Width(r), Height(r), m_back->Dc(), r.left, r.top, SRCCOPY);
    }
  }
}

void DrawLyric::DrawBackgroundPicture(const LyricFrame& f) {
  const ViewRect& lyric = f.lyricRect;
  if (IsEmpty(lyric)) return;
  const int w = Width(lyric), h = Height(lyric);
  // The background colour with the picture blended over it is the same from
  // cycle to cycle once the intro is over: it is composed once per picture,
  // size, alpha and colour and then only copied.
  const bool pictureChanged = lyric != m_cacheRect || m_cachePath != m_background.Path();
  if (pictureChanged || !m_layerValid || m_layerAlpha != f.pictureAlphaByte || m_layerColor != f.background ||
      !m_layer->Valid()) {
    // The stretch is the costly part: done again only for a new picture, a
    // new size, or a fade that comes after the stretched picture was let go.
    if (pictureChanged || !m_pictureCache->Valid()) {
      if (!m_pictureCache->Ensure(w, h)) return;
      SetStretchBltMode(m_pictureCache->Dc(), HALFTONE);
      m_background.Render(m_pictureCache->Dc(), ViewRect{0, 0, w, h});
      m_cacheRect = lyric;
      m_cachePath = m_background.Path();
    }
    m_layerValid = false;
    if (!m_layer->Ensure(w, h)) return;
    zl::UniqueBrush fill(CreateSolidBrush(f.background));
    const RECT all{0, 0, w, h};
    FillRect(m_layer->Dc(), &all, fill.Get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(f.pictureAlphaByte), 0};
    AlphaBlend(m_layer->Dc(), 0, 0, w, h, m_pictureCache->Dc(), 0, 0, w, h, blend);
    m_layerAlpha = f.pictureAlphaByte;
    m_layerColor = f.background;
    m_layerValid = true;
  }
  // Between fades only the composed layer is used: the stretched picture
  // would be a second copy of the lyric area kept in the player's memory.
  if (!f.pictureFading) m_pictureCache->Reset();
  BitBlt(m_back->Dc(), lyric.left, lyric.top, w, h, m_layer->Dc(), 0, 0, SRCCOPY);
}

void DrawLyric::DrawMessageLine(const LyricFrame& f) {
  const TitleLine& t = f.lines.title;
  if (IsAllZero(t.rect)) return;
  HDC dc = m_back->Dc();
  UseFont(*m_back, *m_messageFont,
          FontWanted{"arial", f.style.fontHeight, FW_NORMAL, false, t.underline, kCharsetGb2312});
  const int length = TextLength(f.message, sizeof f.message);
  RECT measured = ToRect(t.rect);
  DrawTextA(dc, f.message, length, &measured, DT_CALCRECT | DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  const int width = measured.right - measured.left;
  const int left = t.rect.left + (Width(t.rect) - width) / 2;
  RECT r{left, t.rect.top, left + width, t.rect.bottom};
  SetTextColor(dc, t.color);
  DrawTextA(dc, f.message, length, &r,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | (f.oneLine ? DT_BOTTOM : DT_VCENTER));
  m_messageHit = ToView(r);
}

void DrawLyric::DrawLines(const LyricFrame& f) {
  if (f.lines.lines.empty()) return;
  HDC dc = m_back->Dc();
  UseFont(*m_back, *m_lyricFont, LyricFontWanted(f.style));
  if (!m_textHeightKnown || f.style.fontHeight != m_metricsStyle.fontHeight || f.style.weight != m_metricsStyle.weight ||
      f.style.italic != m_metricsStyle.italic || std::strcmp(f.style.face, m_metricsStyle.face) != 0) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    m_textHeight = tm.tmHeight;
    m_metricsStyle = f.style;
    m_textHeightKnown = true;
  }
  const std::vector<TimeSentence>& sentences = m_view->Sentences();
  // One text call per line, placed the way DrawText would centre (vertical
  // layout) or bottom-align (one-line layout) it: no measuring per cycle.
  SetTextAlign(dc, f.oneLine ? TA_LEFT | TA_TOP : TA_CENTER | TA_TOP);
  ViewColor color = ~0u;
  for (const LyricLinePlacement& line : f.lines.lines) {
    if (line.index < 1 || static_cast<size_t>(line.index) > sentences.size()) continue;
    const TimeSentence& s = sentences[static_cast<size_t>(line.index) - 1];
    const int length = TextLength(s.text, sizeof s.text);
    const int y = f.oneLine ? line.rect.bottom - m_textHeight : line.rect.top + (Height(line.rect) - m_textHeight) / 2;
    const int x = line.karaoke ? line.textLeft : f.oneLine ? line.rect.left : (line.rect.left + line.rect.right) / 2;
    if (line.karaoke) SetTextAlign(dc, TA_LEFT | TA_TOP);
    const RECT clip = ToRect(line.rect);
    if (line.color != color) SetTextColor(dc, color = line.color);
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, s.text, static_cast<UINT>(length), nullptr);
    // Karaoke: what is still to be sung goes over the highlighted text in the
    // normal colour (a normal colour of 0 would not show over it).
    if (line.karaoke && f.style.normal != 0 && line.splitX < line.textRight) {
      RECT rest = clip;
      rest.left = std::max<LONG>(rest.left, line.splitX);
      SetTextColor(dc, color = f.style.normal);
      ExtTextOutA(dc, x, y, ETO_CLIPPED, &rest, s.text, static_cast<UINT>(length), nullptr);
    }
    if (line.karaoke) SetTextAlign(dc, f.oneLine ? TA_LEFT | TA_TOP : TA_CENTER | TA_TOP);
  }
  SetTextAlign(dc, TA_LEFT | TA_TOP);
}

void DrawLyric::DrawTimeMarker(const LyricFrame& f) {
  HDC dc = m_back->Dc();
  const ViewRect& r = f.lyricRect;
  const ViewColor color = f.style.highlight;
  zl::UniquePen dotted(CreatePen(PS_DOT, 1, color));
  zl::UniquePen solid(CreatePen(PS_SOLID, 1, color));
  char label[32];
  FormatTimeMarker(f.position, label, sizeof label);
  UseFont(*m_back, *m_markerFont, FontWanted{f.style.face, f.style.fontHeight + 2, 500, false, false, 0});
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  if (!f.oneLine) {
    const int y = (r.top + r.bottom) / 2;
    {
      zl::SelectedObject pen(dc, dotted.Get());
      MoveToEx(dc, r.left + 2, y, nullptr);
      LineTo(dc, r.right - 2, y);
    }
    zl::SelectedObject pen(dc, solid.Get());
    for (int x : {r.left + 2, r.right - 2}) {
      MoveToEx(dc, x, y - 3, nullptr);
      LineTo(dc, x, y + 4);
    }
    RECT text{r.left + 2, f.centre + 2, r.left + 152, f.centre + 2 + f.style.lineHeight};
    DrawTextA(dc, label, -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_VCENTER);
    return;
  }
  const int x = (r.left + r.right) / 2;
  {
    zl::SelectedObject pen(dc, dotted.Get());
    MoveToEx(dc, x, r.top, nullptr);
    LineTo(dc, x, r.bottom);
  }
  zl::SelectedObject pen(dc, solid.Get());
  for (int y : {r.top, r.bottom - 1}) {
    MoveToEx(dc, x - 3, y, nullptr);
    LineTo(dc, x + 4, y);
  }
  if (!f.mini) {
    RECT text{x + 4, r.top + 4, x + 154, r.top + 4 + f.style.lineHeight};
    DrawTextA(dc, label, -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_VCENTER);
  }
}

void DrawLyric::DrawStrip(const LyricFrame& f) {
  const std::vector<StripItem>& items = m_view->Strip();
  if (items.empty()) return;
  if (items.front().caption != m_stripCaption || items.size() != m_stripCount) {
    m_stripCaption = items.front().caption;
    m_stripCount = items.size();
    for (LyricPicture& p : m_stripPictures) p.Release();
    for (size_t i = 0; i < items.size() && i < kMaxStripPictures; ++i) m_stripPictures[i].Use(items[i].picturePath);
  }
  HDC dc = m_back->Dc();
  const RECT strip = ToRect(f.stripRect);
  FillRect(dc, &strip, m_stripBrush.Get());
  {
    zl::SelectedObject pen(dc, m_framePen.Get());
    MoveToEx(dc, strip.left, strip.top + 1, nullptr);
    LineTo(dc, f.lyricRect.right, strip.top + 1);
  }
  UseFont(*m_back, *m_captionFont, FontWanted{"arial", kCaptionHeight, FW_NORMAL, false, true, 0});
  zl::SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kMessageColor);
  SetStretchBltMode(dc, HALFTONE);
  for (size_t i = 0; i < items.size(); ++i) {
    const StripItem& item = items[i];
    const bool hovered = item.kind == m_hoveredStrip;
    const StripItemGeometry g = StripItemAt(f.stripRect.top, static_cast<int>(i), hovered);
    if (i < kMaxStripPictures && m_stripPictures[i].Loaded()) {
      zl::SelectedObject pen(dc, hovered ? m_hoverPen.Get() : m_framePen.Get());
      Rectangle(dc, g.frame.left, g.frame.top, g.frame.right, g.frame.bottom);
      m_stripPictures[i].Render(dc, g.picture);
      m_stripHits.push_back(StripHitRect{g.frame, item.kind});
    }
    const int length = static_cast<int>(item.caption.size());
    RECT measured = ToRect(g.captionBox);
    DrawTextA(dc, item.caption.c_str(), length, &measured,
              DT_CALCRECT | DT_CENTER | DT_WORD_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX);
    const int boxWidth = Width(g.captionBox);
    const int width = std::min<int>(measured.right - measured.left, boxWidth);
    const int left = g.captionBox.left + (boxWidth - width) / 2;
    RECT r{left, g.captionBox.top, left + width, g.captionBox.bottom};
    DrawTextA(dc, item.caption.c_str(), length, &r, DT_CENTER | DT_WORD_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX);
    m_stripHits.push_back(StripHitRect{ToView(r), item.kind});
  }
}

LyricHitResult DrawLyric::HitTest(ViewPoint p) const {
  const LyricFrame& f = m_layout.Frame();
  const LyricHitAreas areas{m_messageIsLink, m_messageHit, f.lyricRect, f.stripRect, &m_stripHits};
  return HitTestLyric(p, areas);
}

void DrawLyric::SetHoveredStrip(int id) {
  if (id == m_hoveredStrip) return;
  m_hoveredStrip = id;
  m_layout.RequestFullRepaint();
}

HCURSOR DrawLyric::CursorFor(LyricCursor cursor) const {
  switch (cursor) {
    case LyricCursor::LyricArea:
      return m_openHand ? m_openHand.Get() : LoadCursor(nullptr, IDC_ARROW);
    case LyricCursor::Link:
      return LoadCursor(nullptr, IDC_HAND);
    default:
      return LoadCursor(nullptr, IDC_ARROW);
  }
}

HCURSOR DrawLyric::GrabbingCursor() const {
  return m_closedHand ? m_closedHand.Get() : LoadCursor(nullptr, IDC_ARROW);
}

bool DrawLyric::CopyBackBuffer(std::vector<uint32_t>& pixels, int& width, int& height) const {
  if (!m_back->Valid()) return false;
  GdiFlush();
  width = m_back->Width();
  height = m_back->Height();
  pixels.assign(m_back->Pixels(), m_back->Pixels() + static_cast<size_t>(width) * static_cast<size_t>(height));
  return true;
}
