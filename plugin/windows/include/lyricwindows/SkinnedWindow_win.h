#pragma once
// What the main and the mini lyric window share: a borderless top-level
// window wearing a skin, with a lyric area that the lyric view draws on its
// repaint timer, the mouse on that area, the resize corner, the layout file,
// and the messages the controller takes (timers, wheel, right button,
// commands). Player's UI thread only.
#include <windows.h>

#include <atomic>
#include <string>

#include "controller/LyricController.h"
#include "controller/LyricWindows.h"
#include "lyricwindows/Docking.h"
#include "lyricwindows/LayoutRecords.h"
#include "lyricwindows/SkinBitmaps_win.h"
#include "lyricwindows/SkinLayout.h"
#include "settings/StringTable.h"
#include "shared/Ownership.h"
#include "view/DrawLyric_win.h"
#include "view/LyricMouse_win.h"

class SkinnedWindow : private LyricMouseOwner {
 public:
  SkinnedWindow(ILyricController& owner, LyricWindowKind kind, UINT repaintMs);
  virtual ~SkinnedWindow();
  SkinnedWindow(const SkinnedWindow&) = delete;
  SkinnedWindow& operator=(const SkinnedWindow&) = delete;

  // Creates the (hidden) window at the layout's place, or `builtIn` when the
  // layout has none; a place off every monitor is brought back onto one.
  bool Create(const ViewRect& builtIn);
  void Destroy();
  HWND Handle() const { return m_window.Get(); }
  bool Exists() const { return static_cast<bool>(m_window); }
  // The handle for other threads (null when there is no window).
  HWND SharedHandle() const { return m_shared.load(); }

  // Showing starts the repaint timer, hiding stops it.
  void Show();
  void Hide();
  bool Visible() const;

  // The layout file of a skin is read over the built-in layout; the window
  // (when it exists) is laid out again and redrawn.
  void UseSkin(SkinKind skin);
  SkinKind Skin() const { return m_skin; }
  // Writes the layout, with the window's place and size, to the skin's file.
  bool SaveLayout();
  const WindowLayout& Layout() const { return m_layout; }
  const std::string& LayoutPath() const { return m_layoutPath; }

  // One repaint cycle of the lyric area (the caller holds the draw lock).
  void PaintLyric();

  DrawLyric& Draw() { return m_draw; }
  LyricMouse& Mouse() { return m_mouse; }
  // Resizes the window (raised to the minimum size) and lays it out.
  void ResizeTo(int width, int height);
  // Moves the window (size kept) to the place's corner, onto a monitor.
  void PlaceAt(const ViewRect& place);

  static constexpr UINT kRepaintMainMs = 300;
  static constexpr UINT kRepaintMiniMs = 30;

 protected:
  ILyricController& Owner() { return m_owner; }
  SkinBitmaps& Bitmaps() { return m_bitmaps; }
  const StringTable& Strings() const { return m_strings; }
  std::string Text(const char* key) const { return m_strings.Get(key); }
  WindowLayout& MutableLayout() { return m_layout; }
  void Invalidate() const;
  void Invalidate(const ViewRect& r) const;

  // ---- What each window adds ------------------------------------------------
  virtual const char* ClassName() const = 0;
  virtual std::string Title() const = 0;
  virtual DWORD ExStyle() const = 0;
  // The frame for the client size: pieces, buttons, lyric area.
  virtual void LayOut(int width, int height) = 0;
  virtual void PaintFrame(HDC dc, int width, int height) = 0;
  virtual ViewRect LyricArea() const = 0;
  // Client points that move the window (HTCAPTION) rather than click it.
  virtual bool MovesWindow(ViewPoint p) const = 0;
  virtual bool HeightFixed() const { return false; }
  virtual ViewColor MiniBackground() const { return 0; }
  // Buttons of the frame: true when the point belongs to one.
  virtual bool OnButtonDown(ViewPoint) { return false; }
  virtual bool OnButtonMove(ViewPoint) { return false; }
  virtual bool OnButtonUp(ViewPoint) { return false; }
  virtual void OnMouseLeft() {}
  // The mouse capture went elsewhere: a held button is let go.
  virtual void OnCaptureLost() {}
  virtual void OnMoveEnded() {}
  virtual void OnCreated() {}
  // Messages the base does not take; true when handled (with `result`).
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  // LyricMouseOwner
  int PlayPosition() override;
  void SeekTo(int ms) override;
  void MessageClicked(int code) override;
  void StripClicked(int kind) override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnMouse(UINT msg, ViewPoint p);
  void TrackLeave();

  ILyricController& m_owner;
  const LyricWindowKind m_kind;
  const UINT m_repaintMs;
  SkinKind m_skin = SkinKind::Classic;
  WindowLayout m_layout;
  std::string m_layoutPath;
  SkinBitmaps m_bitmaps;
  StringTable m_strings;
  DrawLyric m_draw;
  LyricMouse m_mouse;
  zl::UniqueWindow m_window;
  std::atomic<HWND> m_shared{nullptr};

  bool m_tracking = false;  // WM_MOUSELEAVE asked for
  bool m_resizing = false;
  POINT m_resizeStart{};
  ViewSize m_sizeAtStart{0, 0};
  HCURSOR m_cursor = nullptr;
};

// The module the lyric windows' code lives in (the plug-in, or a test).
HINSTANCE LyricWindowsModule();
