#include "shared/CriticalSection.h"

#include <windows.h>

#include <new>
#include <utility>

namespace zl {
namespace {
CRITICAL_SECTION* Section(void* p) { return static_cast<CRITICAL_SECTION*>(p); }
}  // namespace

CriticalSection::CriticalSection() : section_(new CRITICAL_SECTION) {
  InitializeCriticalSection(Section(section_));
}

CriticalSection::~CriticalSection() {
  if (!section_) return;
  DeleteCriticalSection(Section(section_));
  delete Section(section_);
}

CriticalSection::CriticalSection(CriticalSection&& other) noexcept
    : section_(std::exchange(other.section_, nullptr)) {}

CriticalSection& CriticalSection::operator=(CriticalSection&& other) noexcept {
  if (this != &other) {
    CriticalSection old(std::move(*this));
    section_ = std::exchange(other.section_, nullptr);
  }
  return *this;
}

void CriticalSection::lock() {
  if (section_) EnterCriticalSection(Section(section_));
}

void CriticalSection::unlock() {
  if (section_) LeaveCriticalSection(Section(section_));
}

bool CriticalSection::try_lock() { return !section_ || TryEnterCriticalSection(Section(section_)); }

}  // namespace zl
