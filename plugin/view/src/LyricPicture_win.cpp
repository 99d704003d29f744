#include "view/LyricPicture_win.h"

#include <olectl.h>

zl::ComPtr<IPicture> LoadPictureFile(const std::string& path) {
  zl::ComPtr<IPicture> picture;
  if (path.empty()) return picture;
  zl::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
      static_cast<uint64_t>(size.QuadPart) > kMaxPictureBytes)
    return picture;
  const DWORD bytes = static_cast<DWORD>(size.QuadPart);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return picture;
  void* data = GlobalLock(memory);
  DWORD read = 0;
  const bool ok = data && ReadFile(file.Get(), data, bytes, &read, nullptr) && read == bytes;
  if (data) GlobalUnlock(memory);
  zl::ComPtr<IStream> stream;
  // The stream owns the memory from here on (released with it).
  if (!ok || FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
    if (!stream) GlobalFree(memory);
    return picture;
  }
  if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes), FALSE, IID_IPicture, picture.PutVoid())))
    picture.Reset();
  return picture;
}

void LyricPicture::Use(const std::string& path) {
  if (path == m_path) return;
  m_picture.Reset();
  m_path = path;
  if (!path.empty()) m_picture = LoadPictureFile(path);
}

void LyricPicture::Release() {
  m_picture.Reset();
  m_path.clear();
}

bool LyricPicture::Render(HDC dc, const ViewRect& rect) const {
  if (!m_picture || IsEmpty(rect)) return false;
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  m_picture->get_Width(&w);
  m_picture->get_Height(&h);
  return SUCCEEDED(m_picture->Render(dc, rect.left, rect.top, Width(rect), Height(rect), 0, h, w, -h, nullptr));
}
