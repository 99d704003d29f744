#pragma once
// Which skin the lyric windows wear and where its files are, and the main
// window's frame: eleven stretched pieces and the close box, laid out from
// the window's size whenever it is created or resized.
#include <string>
#include <vector>

#include "lyricwindows/LayoutRecords.h"
#include "view/ViewGeometry.h"

enum class SkinKind { Classic, Modern };
enum class LyricWindowKind { Main, Mini };

// Modern when the player's skin name begins with "Winamp Modern".
SkinKind SkinKindOf(const std::string& skinName);

// Below the install home.
const char* LayoutFileOf(LyricWindowKind window, SkinKind skin);
const char* FaceFolderOf(LyricWindowKind window, SkinKind skin);

// The built-in layout of a window, used where its file says nothing.
WindowLayout DefaultLayout(LyricWindowKind window, SkinKind skin);

// The main window's close box.
constexpr unsigned kCloseButtonId = 32859;
constexpr const char* kCloseTipKey = "Close";

struct MainFrame {
  std::vector<FrameBitmapRecord> pieces;  // drawn in this order
  ControlRecord close;
  ViewRect titleBar;   // moves the window
  ViewRect lyricArea;  // the lyric view draws here ("bk_color.bmp")
};

// `closeWidth` and `closeHeight` come from the close box's bitmaps;
// `closeTip` is the string table's text for "Close".
MainFrame BuildMainFrame(SkinKind skin, int width, int height, int closeWidth, int closeHeight,
                         const char* closeTip);

// The smallest size the frame pieces fit in (the title pieces side by side).
int FrameMinimumWidth(SkinKind skin);

// A layout file may lower or raise the minimum size, within what the skin's
// pieces need (and the mini bar's height, which its bitmaps fix); the size
// follows.
void BoundMinimumSize(LyricWindowKind window, SkinKind skin, WindowLayout& layout);

// The corner that resizes a window: this many pixels from its bottom-right.
constexpr int kResizeCorner = 10;
bool InResizeCorner(int width, int height, ViewPoint client);
