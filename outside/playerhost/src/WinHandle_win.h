#pragma once
// Move-only owners for the kernel objects and modules the stand-in holds.
#include <windows.h>

#include <utility>

namespace playerhost {

template <typename T, typename Traits>
class UniqueWin {
 public:
  UniqueWin() = default;
  explicit UniqueWin(T value) : value_(value) {}
  ~UniqueWin() { reset(); }
  UniqueWin(UniqueWin&& o) noexcept : value_(std::exchange(o.value_, Traits::Invalid())) {}
  UniqueWin& operator=(UniqueWin&& o) noexcept {
    if (this != &o) {
      reset();
      value_ = std::exchange(o.value_, Traits::Invalid());
    }
    return *this;
  }
  UniqueWin(const UniqueWin&) = delete;
  UniqueWin& operator=(const UniqueWin&) = delete;

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }
  void reset(T value = Traits::Invalid()) {
    if (value_ != Traits::Invalid()) Traits::Close(value_);
    value_ = value;
  }

 private:
  T value_ = Traits::Invalid();
};

struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE m) { ::FreeLibrary(m); }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};

using UniqueHandle = UniqueWin<HANDLE, HandleTraits>;
using UniqueModule = UniqueWin<HMODULE, ModuleTraits>;
using UniqueFind = UniqueWin<HANDLE, FindTraits>;

}  // namespace playerhost
