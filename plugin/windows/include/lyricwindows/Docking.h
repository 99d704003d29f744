#pragma once
// Docking of the main lyric window to the player's windows: when two
// windows touch, when they are near, where a moved window snaps to, how a
// docked window follows the player, and where a window lost off every
// monitor comes back. Rectangles in screen coordinates.
#include <vector>

#include "view/ViewGeometry.h"

constexpr int kAttachTolerance = 1;
constexpr int kSnapDistance = 15;
// The modern skin's main window counts this much shorter (its lower part is
// not where the lyric window docks).
constexpr int kModernBottomRaise = 119;

enum class DockState { Free, Main, Equalizer, Playlist };

// The player's windows as docking sees them.
struct PlayerWindows {
  ViewRect main{};  // the modern skin's main window already raised
  bool equalizerVisible = false;
  ViewRect equalizer{};
  bool playlistVisible = false;
  ViewRect playlist{};
  bool modern = false;  // only the main window counts
};

ViewRect RaisedModernRect(const ViewRect& playerWindow);

// An edge of one lies within `tolerance` of the opposite edge of the other,
// and the two overlap along that edge (touching counts).
bool EdgesMeet(const ViewRect& a, const ViewRect& b, int tolerance);

// Visible secondary windows hanging on the main window, directly or through
// the other one, with the given tolerance.
bool SecondaryHangs(const PlayerWindows& p, DockState which, int tolerance);

// The lyric window is near the player: near its main window, or near a
// visible equalizer or playlist window attached to the main window.
bool IsNearPlayer(const ViewRect& lyric, const PlayerWindows& p);

// Which player window the lyric window is attached to (1 px), Free for none.
DockState AttachmentOf(const ViewRect& lyric, const PlayerWindows& p);

struct Snap {
  bool snapped;
  ViewRect rect;  // the window's new place (unchanged when not snapped)
  DockState state;
};

// The snapping rules against one target window.
Snap SnapTo(const ViewRect& m, const ViewRect& t, DockState target);
// Against the player: main window first, then (classic skin) the equalizer and
// the playlist while visible and within 15 px of the main window.
Snap SnapLyricWindow(const ViewRect& m, const PlayerWindows& p);

// A docked window moves with the player's main window.
ViewRect FollowMove(const ViewRect& lyric, const ViewRect& playerBefore, const ViewRect& playerAfter);

// A window with less than this much of it on a monitor cannot be grabbed.
constexpr int kMinOnScreen = 24;

// Brings a window that lies off every monitor (one was removed) onto the
// nearest one, inside its work area; a reachable window stays where it is.
ViewRect BringOntoMonitor(const ViewRect& window, const std::vector<ViewRect>& workAreas);

// Dragging the resize corner: the size at the start plus the cursor's
// movement, raised to the minimum; `heightFixed` keeps the height.
struct ViewSize {
  int width;
  int height;
};
ViewSize ResizeFromDrag(ViewSize start, int dx, int dy, ViewSize minimum, bool heightFixed);
