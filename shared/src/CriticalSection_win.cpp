#include "shared/CriticalSection.h"

#include <windows.h>

#include <new>

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

void CriticalSection::lock() {
  if (section_) EnterCriticalSection(Section(section_));
}

void CriticalSection::unlock() {
  if (section_) LeaveCriticalSection(Section(section_));
}

bool CriticalSection::try_lock() { return !section_ || TryEnterCriticalSection(Section(section_)); }

}  // namespace zl
