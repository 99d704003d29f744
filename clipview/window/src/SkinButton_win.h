#pragma once
// The MV window's skin: its bitmaps, read once from the face folder, and
// the buttons drawn from them (states -normal, -hover, -pressed, -disable;
// a tab shows -selected while it is selected, a toggle -pressed while on).
#include <windows.h>

#include <map>
#include <string>

#include "shared/Ownership.h"

namespace clipview {

class SkinImages {
 public:
  explicit SkinImages(std::string folder) : m_folder(std::move(folder)) {}
  // Null when the file is missing: that piece is drawn plainly.
  HBITMAP Get(const std::string& name);
  SIZE Size(const std::string& name);
  // Draws the bitmap stretched to the rectangle; false when it is missing.
  bool Draw(HDC dc, const std::string& name, const RECT& to);
  // Draws the left `width` pixels of the bitmap stretched to the rectangle's height.
  bool DrawPart(HDC dc, const std::string& name, const RECT& to, int sourceWidth);

 private:
  std::string m_folder;
  std::map<std::string, zl::UniqueBitmap> m_bitmaps;
};

enum class ButtonKind { Push, Tab, Toggle };

HWND CreateSkinButton(HWND parent, unsigned id, const char* baseName, ButtonKind kind, SkinImages& images);
// A tab's selection or a toggle's state.
void SetSkinButtonLatched(HWND button, bool latched);
bool SkinButtonLatched(HWND button);

}  // namespace clipview
