// The MV window's skin (face\video\*.bmp) and the placeholder Flash movies
// of the status pages (swf\*.swf), drawn afresh by every build into an
// install image folder: skinart <image folder>.
//
// One dark theme: charcoal frame, a teal accent for what is selected or
// played, light icons; hover lifts the button, pressed sinks it and turns
// the icon teal, disabled dims it.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "ArtCanvas.h"
#include "window/VideoSkinLayout.h"

using art::Canvas;
using art::Rgb;
using art::RgbOf;
using namespace clipview::skin;

namespace {

const Rgb kFrameTop = RgbOf(0x343a44), kFrameBottom = RgbOf(0x1d2127);
const Rgb kPanelTop = RgbOf(0x2a2f37), kPanelBottom = RgbOf(0x16191e);
const Rgb kEdge = RgbOf(0x0c0e11), kHighlight = RgbOf(0x4a525e);
const Rgb kIcon = RgbOf(0xc9ced6), kIconHover = RgbOf(0xffffff), kIconDim = RgbOf(0x5b626d);
const Rgb kAccent = RgbOf(0x2bb5c8), kAccentDark = RgbOf(0x17707c);

std::string g_out;
int g_failures = 0;

void Save(const Canvas& c, const std::string& name) {
  if (!c.WriteBmp(g_out + "/face/video/" + name)) {
    std::fprintf(stderr, "skinart: cannot write %s\n", name.c_str());
    ++g_failures;
  }
}

enum class State { Normal, Hover, Pressed, Disable };
const char* Suffix(State s) {
  switch (s) {
    case State::Normal: return "-normal.bmp";
    case State::Hover: return "-hover.bmp";
    case State::Pressed: return "-pressed.bmp";
    default: return "-disable.bmp";
  }
}

// The button's face for a state; the icon colour it wants.
Rgb ButtonFace(Canvas& c, State s, Rgb top, Rgb bottom) {
  const int w = c.Width(), h = c.Height();
  switch (s) {
    case State::Normal:
      c.VerticalGradient(0, 0, w, h, top, bottom);
      c.Frame(0, 0, w, h, kEdge);
      return kIcon;
    case State::Hover:
      c.VerticalGradient(0, 0, w, h, art::Mix(top, kIconHover, 0.12), art::Mix(bottom, kIconHover, 0.08));
      c.Frame(0, 0, w, h, kAccent);
      return kIconHover;
    case State::Pressed:
      c.VerticalGradient(0, 0, w, h, RgbOf(0x101215), RgbOf(0x20252c));
      c.Frame(0, 0, w, h, kAccentDark);
      c.Fill(1, 1, w - 2, 1, RgbOf(0x050607));
      return kAccent;
    default:
      c.VerticalGradient(0, 0, w, h, top, bottom);
      c.Frame(0, 0, w, h, kEdge);
      return kIconDim;
  }
}

template <typename Icon>
void Button(const std::string& name, int w, int h, bool withDisable, Icon icon, Rgb top = kFrameTop,
            Rgb bottom = kFrameBottom) {
  for (State s : {State::Normal, State::Hover, State::Pressed, State::Disable}) {
    if (s == State::Disable && !withDisable) continue;
    Canvas c(w, h);
    const Rgb ink = ButtonFace(c, s, top, bottom);
    icon(c, ink);
    Save(c, name + Suffix(s));
  }
}

void Frame() {
  Canvas topLeft(kTopLeftWidth, kTopHeight);
  topLeft.VerticalGradient(0, 0, kTopLeftWidth, kTopHeight, kFrameTop, kFrameBottom);
  topLeft.Fill(0, 0, kTopLeftWidth, 1, kHighlight);
  topLeft.Fill(0, 0, 1, kTopHeight, kHighlight);
  Save(topLeft, "top-left.bmp");

  Canvas topMid(8, kTopHeight);
  topMid.VerticalGradient(0, 0, 8, kTopHeight, kFrameTop, kFrameBottom);
  topMid.Fill(0, 0, 8, 1, kHighlight);
  Save(topMid, "top-mid.bmp");

  Canvas topRight(kTopRightWidth, kTopHeight);
  topRight.VerticalGradient(0, 0, kTopRightWidth, kTopHeight, kFrameTop, kFrameBottom);
  topRight.Fill(0, 0, kTopRightWidth, 1, kHighlight);
  topRight.Fill(kTopRightWidth - 1, 0, 1, kTopHeight, kEdge);
  Save(topRight, "top-right.bmp");

  Canvas left(kBorder, 8, kFrameBottom);
  left.Fill(0, 0, 1, 8, kHighlight);
  Save(left, "left-bk.bmp");
  Canvas right(kBorder, 8, kFrameBottom);
  right.Fill(kBorder - 1, 0, 1, 8, kEdge);
  Save(right, "right-bk.bmp");

  Canvas bottom(8, kBottomHeight);
  bottom.VerticalGradient(0, 0, 8, kBottomHeight, kPanelTop, kPanelBottom);
  bottom.Fill(0, kBottomHeight - 1, 8, 1, kEdge);
  Save(bottom, "bottom.bmp");

  Canvas line(8, 2);
  line.Fill(0, 0, 8, 1, kEdge);
  line.Fill(0, 1, 8, 1, kHighlight);
  Save(line, "down-line.bmp");
}

void Tab(const std::string& name, const std::string& label, bool film) {
  struct Look {
    const char* suffix;
    Rgb top, bottom, ink, border;
  };
  const Look looks[] = {
      {"-selected.bmp", kAccent, kAccentDark, RgbOf(0x0b1a1d), kAccent},
      {"-normal.bmp", RgbOf(0x3a414c), RgbOf(0x262b33), kIcon, kEdge},
      {"-hover.bmp", RgbOf(0x4a5360), RgbOf(0x323946), kIconHover, kAccent},
  };
  for (const Look& look : looks) {
    Canvas c(kTabWidth, kTabHeight);
    c.VerticalGradient(0, 0, kTabWidth, kTabHeight, look.top, look.bottom);
    c.Frame(0, 0, kTabWidth, kTabHeight, look.border);
    // An icon: a film frame for the video, a mountain picture for the pictures.
    const int ix = 8, iy = 6, iw = 14, ih = 12;
    c.Frame(ix, iy, iw, ih, look.ink);
    if (film) {
      for (int k = 0; k < 3; ++k) {
        c.Fill(ix + 2 + 4 * k, iy + 1, 2, 1, look.ink);
        c.Fill(ix + 2 + 4 * k, iy + ih - 2, 2, 1, look.ink);
      }
      c.Polygon({{ix + 5.0, iy + 3.0}, {ix + 10.0, iy + 6.0}, {ix + 5.0, iy + 9.0}}, look.ink);
    } else {
      c.Polygon({{ix + 1.0, iy + 11.0}, {ix + 5.0, iy + 5.0}, {ix + 8.0, iy + 9.0}, {ix + 10.0, iy + 7.0},
                 {ix + 13.0, iy + 11.0}},
                look.ink);
      c.Fill(ix + 9, iy + 2, 2, 2, look.ink);
    }
    c.Text(ix + iw + 6, 9, label, look.ink);
    Save(c, name + look.suffix);
  }
}

void Buttons() {
  const int t = kTitleButton;
  Button("close", t, t, false, [t](Canvas& c, Rgb ink) {
    c.Line(5, 5, t - 6, t - 6, ink, 2);
    c.Line(t - 6, 5, 5, t - 6, ink, 2);
  });
  Button("mini", t, t, false, [t](Canvas& c, Rgb ink) { c.Fill(5, t - 7, t - 10, 2, ink); });
  Button("normal", t, t, false, [t](Canvas& c, Rgb ink) {
    c.Frame(6, 6, t - 12, t - 12, ink);
    c.Fill(6, 6, t - 12, 2, ink);
  });
  Button("large", t, t, false, [t](Canvas& c, Rgb ink) {
    c.Frame(4, 4, t - 8, t - 8, ink);
    c.Fill(4, 4, t - 8, 2, ink);
  });
  Button("lock", t, t, false, [](Canvas& c, Rgb ink) {
    c.Fill(5, 8, 8, 6, ink);
    c.Frame(6, 3, 6, 6, ink);
  });
  const int p = kPlayButton;
  Button("play", p, p, true, [p](Canvas& c, Rgb ink) {
    c.Polygon({{p * 0.36, p * 0.26}, {p * 0.74, p * 0.5}, {p * 0.36, p * 0.74}}, ink);
  });
  Button("pause", p, p, true, [p](Canvas& c, Rgb ink) {
    c.Fill(p / 2 - 6, 7, 4, p - 14, ink);
    c.Fill(p / 2 + 2, 7, 4, p - 14, ink);
  });
  Button("stop", p, p, true, [p](Canvas& c, Rgb ink) { c.Fill(8, 8, p - 16, p - 16, ink); });
  const int m = kMuteButton;
  Button("mute", m, m, true, [](Canvas& c, Rgb ink) {
    c.Fill(4, 8, 3, 5, ink);
    c.Polygon({{6.0, 8.0}, {11.0, 4.0}, {11.0, 17.0}, {6.0, 13.0}}, ink);
    c.Line(13, 7, 14, 10, ink);
    c.Line(14, 11, 13, 14, ink);
  });
  Button("more", kLinkWidth, kLinkHeight, false, [](Canvas& c, Rgb ink) {
    c.Text((kLinkWidth - Canvas::TextWidth("MORE")) / 2, 7, "MORE", ink);
  });
  Button("fdbk", kLinkWidth, kLinkHeight, false, [](Canvas& c, Rgb ink) {
    c.Text((kLinkWidth - Canvas::TextWidth("BBS")) / 2, 7, "BBS", ink);
  });
}

void Bars() {
  Canvas played(8, kBarHeight);
  played.VerticalGradient(0, 0, 8, kBarHeight, kAccent, kAccentDark);
  Save(played, "progressbar-left.bmp");
  Canvas rest(8, kBarHeight);
  rest.VerticalGradient(0, 0, 8, kBarHeight, RgbOf(0x0e1013), RgbOf(0x272c34));
  Save(rest, "progressbar-right.bmp");
  Canvas off(8, kBarHeight);
  off.VerticalGradient(0, 0, 8, kBarHeight, RgbOf(0x1a1d22), RgbOf(0x22262c));
  Save(off, "progressbar-disable.bmp");
  Canvas thumb(6, kBarHeight, kIconHover);
  thumb.Frame(0, 0, 6, kBarHeight, kAccentDark);
  Save(thumb, "progressbar-button.bmp");
  Canvas thumbOff(6, kBarHeight, kIconDim);
  Save(thumbOff, "progressbar-button-disable.bmp");

  Canvas back(kVolumeWidth, kVolumeHeight);
  back.VerticalGradient(0, 0, kVolumeWidth, kVolumeHeight, RgbOf(0x0e1013), RgbOf(0x272c34));
  Save(back, "volume-back.bmp");
  Canvas front(kVolumeWidth, kVolumeHeight);
  for (int x = 0; x < kVolumeWidth; ++x)
    front.Fill(x, 0, 1, kVolumeHeight, art::Mix(kAccentDark, kAccent, double(x) / (kVolumeWidth - 1)));
  Save(front, "volume-front.bmp");
  Canvas knob(kVolumeThumbWidth, kVolumeThumbHeight, kIconHover);
  knob.Frame(0, 0, kVolumeThumbWidth, kVolumeThumbHeight, kAccentDark);
  Save(knob, "volume-button.bmp");
}

// An uncompressed Flash movie of one frame: background colour, a Metadata
// tag with the page's words (UTF-8), shown by the stand-in control.
void Movie(const std::string& name, uint32_t background, const std::string& label) {
  std::string tags;
  auto tag = [&tags](unsigned code, const std::string& body) {
    const unsigned head = code << 6 | 0x3F;  // long form for every tag
    tags += char(head & 0xFF);
    tags += char(head >> 8);
    for (int i = 0; i < 4; ++i) tags += char((body.size() >> (8 * i)) & 0xFF);
    tags += body;
  };
  tag(9, std::string{char(background >> 16), char(background >> 8), char(background)});
  tag(77, label);
  tag(1, "");  // ShowFrame
  tags += std::string(2, '\0');  // End
  // RECT of 5-bit fields (all zero), frame rate 12, one frame.
  const std::string header = std::string("\x28\0\0\0", 4) + std::string("\0\x0c\x01\0", 4);
  const uint32_t length = uint32_t(8 + header.size() + tags.size());
  std::string file = "FWS";
  file += char(6);
  for (int i = 0; i < 4; ++i) file += char((length >> (8 * i)) & 0xFF);
  file += header + tags;
  FILE* f = std::fopen((g_out + "/swf/" + name).c_str(), "wb");
  if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "skinart: cannot write %s\n", name.c_str());
    ++g_failures;
  }
}

void Movies() {
  Movie("load.swf", 0x1f4e79, u8"正在载入... (loading)");
  Movie("serverbusy.swf", 0x7a4b12, u8"服务器忙 (server busy)");
  Movie("neterror.swf", 0x7d1f2a, u8"网络错误 (network error)");
  Movie("nores.swf", 0x4b3a78, u8"资源尚未准备好 (no resource yet)");
  Movie("nomtv.swf", 0x2f5d3a, u8"暂无此歌曲MV (no music video)");
  Movie("FlvCodecDownloading.swf", 0x1d6b6b, u8"正在下载解码器 (decoder download)");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skinart <image folder>\n");
    return 2;
  }
  g_out = argv[1];
  for (const std::string& dir : {g_out, g_out + "/face", g_out + "/face/video", g_out + "/swf"})
    mkdir(dir.c_str(), 0755);
  Frame();
  Tab("mv", "MV", true);
  Tab("img", "PHOTO", false);
  Buttons();
  Bars();
  Movies();
  return g_failures ? 1 : 0;
}
