#pragma once
// Move-only owners of Win32 handles (Windows builds only).
#include <windows.h>

#include <utility>

namespace zl {

// A kernel handle closed with CloseHandle. Both null and
// INVALID_HANDLE_VALUE mean "none", as the API uses either.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  HANDLE Release() { return std::exchange(h_, nullptr); }
  void Reset(HANDLE h = nullptr) {
    if (Valid()) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = nullptr;
};

// An open registry key closed with RegCloseKey.
class UniqueRegKey {
 public:
  UniqueRegKey() = default;
  ~UniqueRegKey() { Reset(); }
  UniqueRegKey(UniqueRegKey&& o) noexcept : k_(std::exchange(o.k_, nullptr)) {}
  UniqueRegKey& operator=(UniqueRegKey&& o) noexcept {
    if (this != &o) {
      Reset();
      k_ = std::exchange(o.k_, nullptr);
    }
    return *this;
  }
  UniqueRegKey(const UniqueRegKey&) = delete;
  UniqueRegKey& operator=(const UniqueRegKey&) = delete;

  HKEY Get() const { return k_; }
  // For the out-parameter of RegOpenKeyExA / RegCreateKeyExA.
  HKEY* Put() {
    Reset();
    return &k_;
  }
  explicit operator bool() const { return k_ != nullptr; }
  void Reset() {
    if (k_) RegCloseKey(k_);
    k_ = nullptr;
  }

 private:
  HKEY k_ = nullptr;
};

}  // namespace zl
