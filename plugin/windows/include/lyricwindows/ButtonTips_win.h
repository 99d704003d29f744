#pragma once
// Tooltips over a window's buttons (one tool per button, by index).
#include <windows.h>

#include <string>

#include "shared/Ownership.h"
#include "view/ViewGeometry.h"

class ButtonTips {
 public:
  // Creates the tooltip window for `owner`; false when it cannot be made.
  bool Create(HWND owner);
  void Destroy() { m_tips.Reset(); }
  // Adds or updates tool `index` over `rect` (client coordinates).
  void Set(unsigned index, const ViewRect& rect, const std::string& text);
  HWND Window() const { return m_tips.Get(); }

 private:
  HWND m_owner = nullptr;
  zl::UniqueWindow m_tips;
  unsigned m_added = 0;  // tools 0 .. m_added - 1 exist
};
