#include "lyricwindows/SkinBitmaps_win.h"

void SkinBitmaps::SetFolder(const std::string& folder) {
  if (folder == m_folder) return;
  m_folder = folder;
  m_entries.clear();
}

SkinBitmaps::Entry* SkinBitmaps::Find(const std::string& name) {
  auto it = m_entries.find(name);
  if (it == m_entries.end()) {
    Entry e;
    const std::string path = m_folder + name;
    e.bitmap.Reset(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (e.bitmap && GetObjectA(e.bitmap.Get(), sizeof info, &info)) {
      e.width = info.bmWidth;
      e.height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    } else {
      e.bitmap.Reset();
    }
    it = m_entries.emplace(name, std::move(e)).first;
  }
  return it->second.bitmap ? &it->second : nullptr;
}

bool SkinBitmaps::SizeOf(const std::string& name, int& width, int& height) {
  const Entry* e = Find(name);
  if (!e) return false;
  width = e->width;
  height = e->height;
  return true;
}

bool SkinBitmaps::Draw(HDC dc, const std::string& name, const ViewRect& r) {
  Entry* e = Find(name);
  if (!e) return false;
  if (IsEmpty(r)) return true;
  zl::UniqueMemoryDc source(CreateCompatibleDC(dc));
  zl::SelectedObject select(source.Get(), e->bitmap.Get());
  if (Width(r) == e->width && Height(r) == e->height) {
    BitBlt(dc, r.left, r.top, e->width, e->height, source.Get(), 0, 0, SRCCOPY);
  } else {
    // Pieces are uniform along the stretched direction: no smoothing needed.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, Width(r), Height(r), source.Get(), 0, 0, e->width, e->height, SRCCOPY);
  }
  return true;
}
