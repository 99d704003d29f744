#include "SkinButton_win.h"

#include <memory>

namespace clipview {
namespace {

constexpr char kClass[] = "ClipViewSkinButton";

struct ButtonData {
  std::string base;
  ButtonKind kind;
  SkinImages* images;
  bool hover = false, pressed = false, latched = false;
};

ButtonData* DataOf(HWND w) { return reinterpret_cast<ButtonData*>(GetWindowLongPtrA(w, GWLP_USERDATA)); }

void Paint(HWND w, HDC dc) {
  ButtonData* d = DataOf(w);
  RECT r;
  GetClientRect(w, &r);
  if (!d) return;
  std::string state = "-normal";
  if (!IsWindowEnabled(w))
    state = "-disable";
  else if (d->latched)
    state = d->kind == ButtonKind::Tab ? "-selected" : "-pressed";
  else if (d->pressed)
    state = d->kind == ButtonKind::Tab ? "-selected" : "-pressed";
  else if (d->hover)
    state = "-hover";
  if (d->images->Draw(dc, d->base + state + ".bmp", r) || d->images->Draw(dc, d->base + "-normal.bmp", r)) return;
  // No skin: a plain face with the button's name.
  zl::UniqueBrush face(CreateSolidBrush(state == "-normal" ? RGB(52, 58, 68) : RGB(43, 181, 200)));
  FillRect(dc, &r, face.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 230, 230));
  DrawTextA(dc, d->base.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  ButtonData* d = DataOf(w);
  switch (msg) {
    case WM_NCDESTROY:
      delete d;
      SetWindowLongPtrA(w, GWLP_USERDATA, 0);
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      Paint(w, dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (d && !d->hover) {
        d->hover = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, w, 0};
        TrackMouseEvent(&track);
        InvalidateRect(w, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      if (d) d->hover = false;
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (d) d->pressed = true;
      SetCapture(w);
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      if (d && d->pressed) {
        d->pressed = false;
        ReleaseCapture();
        InvalidateRect(w, nullptr, FALSE);
        RECT r;
        GetClientRect(w, &r);
        const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&r, p))
          SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED),
                       reinterpret_cast<LPARAM>(w));
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (d) d->pressed = false;
      return 0;
    case WM_ENABLE:
      InvalidateRect(w, nullptr, FALSE);
      return 0;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}

HINSTANCE ThisModule() { return GetModuleHandleA(nullptr); }

void RegisterOnce() {
  static bool done = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)done;
}

}  // namespace

HBITMAP SkinImages::Get(const std::string& name) {
  auto it = m_bitmaps.find(name);
  if (it == m_bitmaps.end()) {
    const std::string path = m_folder + name;
    it = m_bitmaps
             .emplace(name, zl::UniqueBitmap(static_cast<HBITMAP>(
                                LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))))
             .first;
  }
  return it->second.Get();
}

SIZE SkinImages::Size(const std::string& name) {
  BITMAP info{};
  if (HBITMAP b = Get(name)) GetObjectA(b, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

bool SkinImages::DrawPart(HDC dc, const std::string& name, const RECT& to, int sourceWidth) {
  HBITMAP bitmap = Get(name);
  if (!bitmap || to.right <= to.left || to.bottom <= to.top) return bitmap != nullptr;
  const SIZE size = Size(name);
  zl::UniqueMemoryDc source(CreateCompatibleDC(dc));
  zl::SelectedObject chosen(source.Get(), bitmap);
  SetStretchBltMode(dc, COLORONCOLOR);
  const int width = sourceWidth > 0 && sourceWidth < size.cx ? sourceWidth : size.cx;
  StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source.Get(), 0, 0, width, size.cy,
             SRCCOPY);
  return true;
}

bool SkinImages::Draw(HDC dc, const std::string& name, const RECT& to) { return DrawPart(dc, name, to, 0); }

HWND CreateSkinButton(HWND parent, unsigned id, const char* baseName, ButtonKind kind, SkinImages& images) {
  RegisterOnce();
  HWND w = CreateWindowExA(0, kClass, baseName, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ThisModule(), nullptr);
  if (w) {
    auto data = std::make_unique<ButtonData>();
    data->base = baseName;
    data->kind = kind;
    data->images = &images;
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data.release()));
  }
  return w;
}

void SetSkinButtonLatched(HWND button, bool latched) {
  if (ButtonData* d = DataOf(button)) {
    if (d->latched == latched) return;
    d->latched = latched;
    InvalidateRect(button, nullptr, FALSE);
  }
}

bool SkinButtonLatched(HWND button) {
  ButtonData* d = DataOf(button);
  return d && d->latched;
}

}  // namespace clipview
