#pragma once
// The bitmaps of one face folder, loaded from files when first asked for
// and kept until the skin changes. A missing file is remembered as missing:
// its piece stays undrawn. Lyric windows' thread only.
#include <windows.h>

#include <map>
#include <string>

#include "shared/Ownership.h"
#include "view/ViewGeometry.h"

class SkinBitmaps {
 public:
  // `folder` is a full path ending in a backslash; drops what was loaded.
  void SetFolder(const std::string& folder);
  const std::string& Folder() const { return m_folder; }

  // The bitmap's size; false when the file is missing or not a bitmap.
  bool SizeOf(const std::string& name, int& width, int& height);
  // Draws the bitmap stretched over `r`; false when it is missing.
  bool Draw(HDC dc, const std::string& name, const ViewRect& r);

 private:
  struct Entry {
    zl::UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
  };
  Entry* Find(const std::string& name);

  std::string m_folder;
  std::map<std::string, Entry> m_entries;
};
