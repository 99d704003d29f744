#include "lyriccore/EngineSync.h"

#include <windows.h>

#include <utility>

namespace {
CRITICAL_SECTION* Section(void* p) { return static_cast<CRITICAL_SECTION*>(p); }
}  // namespace

ZCriticalSection::ZCriticalSection() : section_(new CRITICAL_SECTION) {
  InitializeCriticalSection(Section(section_));
}

ZCriticalSection::~ZCriticalSection() {
  if (!section_) return;
  DeleteCriticalSection(Section(section_));
  delete Section(section_);
}

ZCriticalSection::ZCriticalSection(ZCriticalSection&& other) noexcept
    : section_(std::exchange(other.section_, nullptr)) {}

ZCriticalSection& ZCriticalSection::operator=(ZCriticalSection&& other) noexcept {
  if (this != &other) {
    ZCriticalSection old(std::move(*this));
    section_ = std::exchange(other.section_, nullptr);
  }
  return *this;
}

void ZCriticalSection::Enter() {
  if (section_) EnterCriticalSection(Section(section_));
}

void ZCriticalSection::Leave() {
  if (section_) LeaveCriticalSection(Section(section_));
}

ZOwnedHandle::~ZOwnedHandle() { Reset(); }

ZOwnedHandle::ZOwnedHandle(ZOwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

ZOwnedHandle& ZOwnedHandle::operator=(ZOwnedHandle&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.handle_, nullptr));
  return *this;
}

void ZOwnedHandle::Reset(void* handle) {
  if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = handle;
}
