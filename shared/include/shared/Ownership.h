#pragma once
// One move-only owner for every kind of system resource the suite holds
// (Windows builds only). Each owner closes what it holds exactly once, with
// the function that matches how it was opened; a copy would close twice, so
// none can be made. Locks are zl::CriticalSection (shared/CriticalSection.h).
#include <winsock2.h>
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wininet.h>

#include <utility>

#include "shared/CriticalSection.h"

namespace zl {

// The owner template: Traits gives the empty value and the close function.
template <typename T, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  ~Unique() { Reset(); }
  Unique(Unique&& o) noexcept : value_(o.Release()) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  T Get() const { return value_; }
  bool Valid() const { return Traits::Valid(value_); }
  explicit operator bool() const { return Valid(); }
  T Release() { return std::exchange(value_, Traits::Empty()); }
  void Reset(T value = Traits::Empty()) {
    if (Traits::Valid(value_)) Traits::Close(value_);
    value_ = value;
  }
  // For an API's out-parameter: whatever was held is closed first.
  T* Put() {
    Reset();
    return &value_;
  }

 private:
  T value_ = Traits::Empty();
};

namespace traits {
// Kernel handles: the API uses both null and INVALID_HANDLE_VALUE for "none".
struct Handle {
  static HANDLE Empty() { return nullptr; }
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct Find {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct RegKey {
  static HKEY Empty() { return nullptr; }
  static bool Valid(HKEY k) { return k != nullptr; }
  static void Close(HKEY k) { ::RegCloseKey(k); }
};
struct Module {
  static HMODULE Empty() { return nullptr; }
  static bool Valid(HMODULE m) { return m != nullptr; }
  static void Close(HMODULE m) { ::FreeLibrary(m); }
};
struct Internet {
  static HINTERNET Empty() { return nullptr; }
  static bool Valid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
struct Socket {
  static SOCKET Empty() { return INVALID_SOCKET; }
  static bool Valid(SOCKET s) { return s != INVALID_SOCKET; }
  static void Close(SOCKET s) { ::closesocket(s); }
};
template <typename G>
struct Gdi {
  static G Empty() { return nullptr; }
  static bool Valid(G g) { return g != nullptr; }
  static void Close(G g) { ::DeleteObject(g); }
};
struct MemoryDc {
  static HDC Empty() { return nullptr; }
  static bool Valid(HDC dc) { return dc != nullptr; }
  static void Close(HDC dc) { ::DeleteDC(dc); }
};
struct Icon {
  static HICON Empty() { return nullptr; }
  static bool Valid(HICON i) { return i != nullptr; }
  static void Close(HICON i) { ::DestroyIcon(i); }
};
struct Cursor {
  static HCURSOR Empty() { return nullptr; }
  static bool Valid(HCURSOR c) { return c != nullptr; }
  static void Close(HCURSOR c) { ::DestroyCursor(c); }
};
struct Window {
  static HWND Empty() { return nullptr; }
  static bool Valid(HWND w) { return w != nullptr; }
  static void Close(HWND w) { ::DestroyWindow(w); }
};
struct MenuHandle {
  static HMENU Empty() { return nullptr; }
  static bool Valid(HMENU m) { return m != nullptr; }
  static void Close(HMENU m) { ::DestroyMenu(m); }
};
struct MappedView {
  static void* Empty() { return nullptr; }
  static bool Valid(void* p) { return p != nullptr; }
  static void Close(void* p) { ::UnmapViewOfFile(p); }
};
struct Bstr {
  static BSTR Empty() { return nullptr; }
  static bool Valid(BSTR b) { return b != nullptr; }
  static void Close(BSTR b) { ::SysFreeString(b); }
};
// An activation context (CreateActCtx); the API gives INVALID_HANDLE_VALUE for none.
struct ActCtx {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::ReleaseActCtx(h); }
};
// Movable global memory; Release() it once the clipboard has taken it.
struct Global {
  static HGLOBAL Empty() { return nullptr; }
  static bool Valid(HGLOBAL g) { return g != nullptr; }
  static void Close(HGLOBAL g) { ::GlobalFree(g); }
};
}  // namespace traits

using UniqueHandle = Unique<HANDLE, traits::Handle>;
using UniqueFind = Unique<HANDLE, traits::Find>;
using UniqueRegKey = Unique<HKEY, traits::RegKey>;
using UniqueModule = Unique<HMODULE, traits::Module>;
using UniqueInternet = Unique<HINTERNET, traits::Internet>;
using UniqueSocket = Unique<SOCKET, traits::Socket>;
using UniqueFont = Unique<HFONT, traits::Gdi<HFONT>>;
using UniqueBitmap = Unique<HBITMAP, traits::Gdi<HBITMAP>>;
using UniqueBrush = Unique<HBRUSH, traits::Gdi<HBRUSH>>;
using UniquePen = Unique<HPEN, traits::Gdi<HPEN>>;
using UniqueRegion = Unique<HRGN, traits::Gdi<HRGN>>;
using UniqueMemoryDc = Unique<HDC, traits::MemoryDc>;
using UniqueIcon = Unique<HICON, traits::Icon>;
using UniqueCursor = Unique<HCURSOR, traits::Cursor>;
using UniqueWindow = Unique<HWND, traits::Window>;
using UniqueMenu = Unique<HMENU, traits::MenuHandle>;
using UniqueMappedView = Unique<void*, traits::MappedView>;
using UniqueBstr = Unique<BSTR, traits::Bstr>;
using UniqueActCtx = Unique<HANDLE, traits::ActCtx>;
using UniqueGlobal = Unique<HGLOBAL, traits::Global>;

// A DC of a window (GetDC / GetWindowDC), given back with ReleaseDC.
class WindowDc {
 public:
  WindowDc() = default;
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() { Reset(); }
  WindowDc(WindowDc&& o) noexcept
      : window_(std::exchange(o.window_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& o) noexcept {
    if (this != &o) {
      Reset();
      window_ = std::exchange(o.window_, nullptr);
      dc_ = std::exchange(o.dc_, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset() {
    if (dc_) ::ReleaseDC(window_, dc_);
    dc_ = nullptr;
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// An object selected into a DC for a scope: the previous object goes back
// in first, so that nothing is deleted while it is still selected.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() { Restore(); }
  SelectedObject(SelectedObject&& o) noexcept
      : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&&) = delete;
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  void Restore() {
    if (dc_ && old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    old_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A COM interface pointer, released once.
template <typename I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already holds.
  static ComPtr Attach(I* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  // Adds a reference of its own.
  static ComPtr Share(I* p) {
    if (p) p->AddRef();
    return Attach(p);
  }
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) {
      Reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  I* Get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  I* Detach() { return std::exchange(p_, nullptr); }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  // For CoCreateInstance and QueryInterface.
  I** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  template <typename Other>
  HRESULT As(const IID& iid, ComPtr<Other>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.PutVoid());
  }

 private:
  I* p_ = nullptr;
};

// COM for the calling thread, for a scope; undone only when it was done.
class ComInit {
 public:
  explicit ComInit(DWORD model = COINIT_MULTITHREADED) : hr_(::CoInitializeEx(nullptr, model)) {}
  ~ComInit() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  HRESULT Result() const { return hr_; }
  // S_FALSE (already initialised the same way) counts as ready too.
  bool Ready() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

}  // namespace zl
