#pragma once
// A picture file loaded for the lyric view (the background and the strip):
// JPEG or any other format OleLoadPicture reads, drawn stretched.
// Lyric windows' thread only.
#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <string>

#include "shared/Ownership.h"
#include "view/ViewGeometry.h"

// A larger file is not a picture the view shows (and is never read whole).
constexpr uint64_t kMaxPictureBytes = 4u << 20;

// Null when the file is missing, too large or not a picture.
zl::ComPtr<IPicture> LoadPictureFile(const std::string& path);

class LyricPicture {
 public:
  const std::string& Path() const { return m_path; }
  bool Loaded() const { return static_cast<bool>(m_picture); }
  // Loads `path` unless it is the one loaded; "" releases the picture. A
  // failed load leaves no picture (and is not retried until the path changes).
  void Use(const std::string& path);
  void Release();
  // Stretched over `rect` of the DC; false without a picture.
  bool Render(HDC dc, const ViewRect& rect) const;

 private:
  std::string m_path;
  zl::ComPtr<IPicture> m_picture;
};
