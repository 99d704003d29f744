#include "lyricwindows/SkinLayout.h"

#include <algorithm>

#include "controller/SongRules.h"
#include "shared/GbkText.h"

namespace {

// Colours of the generated dark theme (COLORREF: red in the low byte).
constexpr uint32_t kFrameBody = 0x372824;      // RGB(36, 40, 55)
constexpr uint32_t kFrameInk = 0x0D0908;       // RGB(8, 9, 13)
constexpr uint32_t kModernBottom = 0x221814;   // RGB(20, 24, 34)

FrameBitmapRecord Piece(const char* name, int left, int top, int right, int bottom) {
  FrameBitmapRecord r{};
  SetRecordText(r.name, name);
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  r.flag = 1;
  return r;
}

}  // namespace

SkinKind SkinKindOf(const std::string& skinName) {
  return IsModernSkinName(skinName) ? SkinKind::Modern : SkinKind::Classic;
}

const char* LayoutFileOf(LyricWindowKind window, SkinKind skin) {
  if (window == LyricWindowKind::Main)
    return skin == SkinKind::Modern ? "\\config\\WinampMainConfigModern.ini" : "\\config\\WinampMainConfig.ini";
  return skin == SkinKind::Modern ? "\\config\\WinampMiniConfigModern.ini" : "\\config\\WinampMiniConfig.ini";
}

const char* FaceFolderOf(LyricWindowKind window, SkinKind skin) {
  if (window == LyricWindowKind::Main)
    return skin == SkinKind::Modern ? "\\face\\winamp\\modern\\" : "\\face\\winamp\\classic\\";
  return skin == SkinKind::Modern ? "\\face\\winamp\\modern\\mini\\" : "\\face\\winamp\\classic\\mini\\";
}

int FrameMinimumWidth(SkinKind skin) { return skin == SkinKind::Modern ? 151 : 231; }

WindowLayout DefaultLayout(LyricWindowKind window, SkinKind skin) {
  WindowLayout l;
  zl::CopyGbkBounded(l.facePath, sizeof l.facePath, FaceFolderOf(window, skin));
  l.bkColor = skin == SkinKind::Modern ? kModernBottom : kFrameBody;
  l.borderColor = kFrameInk;
  l.listBorderColor = kFrameInk;
  l.miniBkColor = 0;
  if (window == LyricWindowKind::Main) {
    l.width = 300;
    l.height = 320;
    l.leftBmpWidth = skin == SkinKind::Modern ? 3 : 5;
    l.minWidth = FrameMinimumWidth(skin) + 9;
    l.minHeight = 120;
  } else {
    l.width = 420;
    l.height = 22;
    l.leftBmpWidth = 10;
    l.minWidth = 260;
    l.minHeight = 22;
  }
  return l;
}

MainFrame BuildMainFrame(SkinKind skin, int W, int H, int closeWidth, int closeHeight, const char* closeTip) {
  MainFrame f;
  f.pieces.reserve(11);
  if (skin == SkinKind::Classic) {
    const int k = (W - 231) / 2;
    f.pieces.push_back(Piece("left-top.bmp", 0, 0, 63, 13));
    f.pieces.push_back(Piece("right-top.bmp", W - 63, 0, W, 13));
    f.pieces.push_back(Piece("logo-lyrics.bmp", W / 2 - 53, 0, W / 2 + 52, 13));
    f.pieces.push_back(Piece("top-middle.bmp", 63, 0, k + 63, 13));
    f.pieces.push_back(Piece("top-middle.bmp", W - k - 64, 0, W - 63, 13));
    f.pieces.push_back(Piece("left-down.bmp", 0, H - 13, 5, H));
    f.pieces.push_back(Piece("right-down.bmp", W - 4, H - 9, W, H));
    f.pieces.push_back(Piece("down-middle.bmp", 5, H - 4, W - 4, H));
    f.pieces.push_back(Piece("left-middle.bmp", 0, 13, 5, H - 13));
    f.pieces.push_back(Piece("right-middle.bmp", W - 4, 13, W, H - 9));
    f.lyricArea = ViewRect{5, 13, W - 4, H - 4};
    f.titleBar = ViewRect{0, 0, W, 13};
  } else {
    const int k = (W - 151) / 2;
    f.pieces.push_back(Piece("left-top.bmp", 0, 0, 14, 18));
    f.pieces.push_back(Piece("right-top.bmp", W - 33, 0, W, 18));
    f.pieces.push_back(Piece("logo-lyrics.bmp", W / 2 - 52, 0, W / 2 + 52, 18));
    f.pieces.push_back(Piece("top-middle.bmp", 14, 0, k + 24, 18));
    f.pieces.push_back(Piece("top-middle.bmp", W - k - 34, 0, W - 33, 18));
    f.pieces.push_back(Piece("left-down.bmp", 0, H - 8, 3, H));
    f.pieces.push_back(Piece("right-down.bmp", W - 3, H - 8, W, H));
    f.pieces.push_back(Piece("down-middle.bmp", 3, H - 3, W - 3, H));
    f.pieces.push_back(Piece("left-middle.bmp", 0, 18, 3, H - 8));
    f.pieces.push_back(Piece("right-middle.bmp", W - 3, 18, W, H - 8));
    f.lyricArea = ViewRect{3, 18, W - 3, H - 3};
    f.titleBar = ViewRect{0, 0, W, 18};
  }
  const ViewRect& a = f.lyricArea;
  f.pieces.push_back(Piece("bk_color.bmp", a.left, a.top, a.right, a.bottom));

  ControlRecord& c = f.close;
  c = ControlRecord{};
  SetRecordText(c.text, "");
  SetRecordText(c.tip, closeTip);
  c.id = kCloseButtonId;
  c.left = skin == SkinKind::Classic ? W - 11 : W - 17;
  c.top = skin == SkinKind::Classic ? 3 : 4;
  c.right = c.left + std::max(0, closeWidth);
  c.bottom = c.top + std::max(0, closeHeight);
  return f;
}

void BoundMinimumSize(LyricWindowKind window, SkinKind skin, WindowLayout& l) {
  if (window == LyricWindowKind::Main) {
    l.minWidth = std::clamp(l.minWidth, FrameMinimumWidth(skin), kMaxWindowExtent);
    l.minHeight = std::clamp(l.minHeight, 60, kMaxWindowExtent);
  } else {
    l.minWidth = std::clamp(l.minWidth, 200, kMaxWindowExtent);
    l.minHeight = std::clamp(l.minHeight, 16, 64);
  }
  l.width = std::clamp(l.width, l.minWidth, kMaxWindowExtent);
  l.height = std::clamp(l.height, l.minHeight, kMaxWindowExtent);
}

bool InResizeCorner(int width, int height, ViewPoint p) {
  return p.x >= width - kResizeCorner && p.x < width && p.y >= height - kResizeCorner && p.y < height;
}
