#pragma once
// The mini window: a bar with the player's buttons on the left, the lyric in
// the middle and the window's own buttons on the right. Where everything
// sits, which picture each button shows, and what a click on it means.
#include <string>
#include <vector>

#include "lyricwindows/LayoutRecords.h"
#include "view/ViewGeometry.h"

enum MiniButton {
  kMiniPrevious,
  kMiniPlay,  // play, resume or pause, after the player's state
  kMiniStop,
  kMiniNext,
  kMiniVideo,
  kMiniSwitch,  // back to the main window
  kMiniMinimize,
  kMiniClose,
  kMiniButtonCount
};

// Command identifiers of the buttons (the video button is the mini window's
// MV command).
constexpr unsigned kMiniButtonIds[kMiniButtonCount] = {32866, 32863, 32865, 32867, 32862, 32861, 32860, 32864};

// String table keys of the tooltips.
const char* MiniTipKey(MiniButton b, int playerState);

// Player states as the controller keeps them.
constexpr int kPlayerPlaying = 0;
constexpr int kPlayerPaused = 1;
constexpr int kPlayerStopped = 2;

enum class MiniAction {
  None,
  PlayStart,  // the play button (start the current entry)
  Resume,     // play after a pause
  Pause,
  Stop,
  Previous,
  Next,
  Video,
  Switch,
  Minimize,
  Close,
};

MiniAction ActionOf(MiniButton b, int playerState);

// Stop, previous and next do nothing useful while the player is stopped.
bool MiniButtonEnabled(MiniButton b, int playerState);

enum class ButtonLook { Normal, Hover, Pressed, Disabled };

// The look of a button: `hovered` and `pressed` are button indexes or -1; a
// pressed button looks pressed only while the mouse is still over it.
ButtonLook LookOf(MiniButton b, int playerState, int hovered, int pressed);

// Stem of the bitmap files ("play", "playstart", "pause", "stop", ...).
const char* BitmapStem(MiniButton b, int playerState);
// Suffix of a look ("-normal", ...).
const char* LookSuffix(ButtonLook look);
// The look a missing picture falls back to (pressed: hover, hover and
// disabled: normal); Normal itself has none.
bool FallbackLook(ButtonLook look, ButtonLook& fallback);

struct MiniBarSizes {
  int leftWidth;   // Left.bmp
  int rightWidth;  // Right.bmp
  int buttonWidth;
  int buttonHeight;
};

struct MiniBarLayout {
  ViewRect left;   // the grip that moves the bar
  ViewRect mid;
  ViewRect right;  // holds the resize corner
  ViewRect buttons[kMiniButtonCount];
  ViewRect lyricArea;  // empty when the bar is too short for it
};

MiniBarLayout LayoutMiniBar(int width, int height, const MiniBarSizes& sizes);

// The button under a point, or -1.
int MiniButtonAt(const MiniBarLayout& layout, ViewPoint p);

// The control records the mini window's layout file keeps.
std::vector<ControlRecord> MiniControlRecords(const MiniBarLayout& layout, int playerState,
                                              const std::vector<std::string>& tips);

// Files dropped on the mini window: the song files and playlists the player
// takes (".mp3", ".wma", ".m3u" anywhere in the lower-cased name), in drop order.
bool AcceptsDroppedFile(const std::string& name);
std::vector<std::string> AcceptedDrops(const std::vector<std::string>& names);
