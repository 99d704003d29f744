#pragma once
// Drawing surfaces and fonts of the lyric view, kept across repaint cycles.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "shared/Ownership.h"

// A memory DC with a top-down 32-bit DIB selected into it, whose pixels the
// view can also reach directly. Rebuilt only when its size changes.
class DibSurface {
 public:
  // True when the surface has this size afterwards.
  bool Ensure(int width, int height);
  void Reset();
  HDC Dc() const { return m_dc.Get(); }
  uint32_t* Pixels() const { return m_pixels; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool Valid() const { return m_pixels != nullptr; }
  // Leaves the font selected until another one is asked for: a repaint
  // cycle whose fonts did not change selects none (under Wine every font
  // selection costs a lookup in the X resource database).
  void UseFont(HFONT font);
  // Puts the DC's own font back when `font` (or, given nothing, any font)
  // is selected: a font is never deleted while a DC holds it.
  void ReleaseFont(HFONT font = nullptr);

 private:
  // Declared so that the selection is undone before the bitmap goes.
  zl::UniqueMemoryDc m_dc;
  zl::UniqueBitmap m_bitmap;
  std::optional<zl::SelectedObject> m_selection;
  uint32_t* m_pixels = nullptr;
  int m_width = 0;
  int m_height = 0;
  HFONT m_font = nullptr;        // the font UseFont left selected
  HGDIOBJ m_ownFont = nullptr;   // the DC's font before it
};

// What a font is asked for; the face is not copied (it is compared with
// the face of the font held).
struct FontWanted {
  const char* face;
  int height;
  int weight;
  bool italic;
  bool underline;
  int charset;
};

// One font, created again only when what it is asked for changes (the
// settings changed), never per repaint.
class CachedFont {
 public:
  HFONT Get(const FontWanted& wanted);
  // True when Get(wanted) would give the font held, without creating one.
  bool Holds(const FontWanted& wanted) const;
  HFONT Current() const { return m_font.Get(); }

 private:
  std::string m_face;
  FontWanted m_held{};
  zl::UniqueFont m_font;
};
