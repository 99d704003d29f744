#include "GdiSurface_win.h"

bool DibSurface::Ensure(int width, int height) {
  if (width <= 0 || height <= 0) {
    Reset();
    return false;
  }
  if (Valid() && width == m_width && height == m_height) return true;
  Reset();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  zl::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  zl::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !bitmap || !bits) return false;
  m_dc = std::move(dc);
  m_bitmap = std::move(bitmap);
  m_selection.emplace(m_dc.Get(), m_bitmap.Get());
  m_pixels = static_cast<uint32_t*>(bits);
  m_width = width;
  m_height = height;
  return true;
}

void DibSurface::Reset() {
  // The DC goes: whatever font it holds is let go with it.
  m_font = nullptr;
  m_ownFont = nullptr;
  m_selection.reset();
  m_bitmap.Reset();
  m_dc.Reset();
  m_pixels = nullptr;
  m_width = 0;
  m_height = 0;
}

void DibSurface::UseFont(HFONT font) {
  if (!m_dc || !font || font == m_font) return;
  HGDIOBJ previous = SelectObject(m_dc.Get(), font);
  if (!previous || previous == HGDI_ERROR) return;
  if (!m_font) m_ownFont = previous;
  m_font = font;
}

void DibSurface::ReleaseFont(HFONT font) {
  if (!m_dc || !m_font || (font && font != m_font)) return;
  SelectObject(m_dc.Get(), m_ownFont);
  m_font = nullptr;
  m_ownFont = nullptr;
}

bool CachedFont::Holds(const FontWanted& wanted) const {
  const char* face = wanted.face ? wanted.face : "";
  return m_font && wanted.height == m_held.height && wanted.weight == m_held.weight && wanted.italic == m_held.italic &&
         wanted.underline == m_held.underline && wanted.charset == m_held.charset && m_face == face;
}

HFONT CachedFont::Get(const FontWanted& wanted) {
  if (Holds(wanted)) return m_font.Get();
  const char* face = wanted.face ? wanted.face : "";
  m_face = face;
  m_held = wanted;
  m_held.face = m_face.c_str();
  m_font.Reset(CreateFontA(wanted.height, 0, 0, 0, wanted.weight, wanted.italic, wanted.underline, FALSE,
                           static_cast<BYTE>(wanted.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH, m_face.c_str()));
  return m_font.Get();
}
