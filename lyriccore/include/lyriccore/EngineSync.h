#pragma once
// Owners of the engine object's system resources, kept opaque so that the
// public headers need no <windows.h>. Both are move-only.
#include "lyriccore/Export.h"

// A critical section of its own, created with the object.
class LYRICCORE_API ZCriticalSection {
 public:
  ZCriticalSection();
  ~ZCriticalSection();
  ZCriticalSection(ZCriticalSection&& other) noexcept;
  ZCriticalSection& operator=(ZCriticalSection&& other) noexcept;
  ZCriticalSection(const ZCriticalSection&) = delete;
  ZCriticalSection& operator=(const ZCriticalSection&) = delete;

  void Enter();
  void Leave();

 private:
  void* section_;  // heap CRITICAL_SECTION: it must not move once in use
};

// Holds the critical section for a scope.
class ZLock {
 public:
  explicit ZLock(ZCriticalSection& cs) : cs_(cs) { cs_.Enter(); }
  ~ZLock() { cs_.Leave(); }
  ZLock(const ZLock&) = delete;
  ZLock& operator=(const ZLock&) = delete;

 private:
  ZCriticalSection& cs_;
};

// A kernel handle (a process the engine started), closed with the owner.
class LYRICCORE_API ZOwnedHandle {
 public:
  ZOwnedHandle() = default;
  explicit ZOwnedHandle(void* handle) : handle_(handle) {}
  ~ZOwnedHandle();
  ZOwnedHandle(ZOwnedHandle&& other) noexcept;
  ZOwnedHandle& operator=(ZOwnedHandle&& other) noexcept;
  ZOwnedHandle(const ZOwnedHandle&) = delete;
  ZOwnedHandle& operator=(const ZOwnedHandle&) = delete;

  void* Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(void* handle = nullptr);

 private:
  void* handle_ = nullptr;
};
