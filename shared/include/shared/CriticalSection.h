#pragma once
// The one lock of the suite. A Win32 critical section on Windows (what the
// design names), a recursive std::mutex elsewhere, so that the platform-neutral code
// that takes it is tested natively with the sanitizers.
//
// Take it with zl::Lock (a std::lock_guard) or std::unique_lock. Move-only:
// the section itself lives on the heap and never moves once in use.

#include <mutex>

namespace zl {

class CriticalSection {
 public:
  CriticalSection();
  ~CriticalSection();
  CriticalSection(CriticalSection&& other) noexcept;
  CriticalSection& operator=(CriticalSection&& other) noexcept;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  // BasicLockable, for std::lock_guard and std::unique_lock.
  void lock();
  void unlock();
  bool try_lock();

 private:
  void* section_;
};

using Lock = std::lock_guard<CriticalSection>;

}  // namespace zl
