#include "shared/CriticalSection.h"

namespace zl {
namespace {
// Recursive, as a Win32 critical section is.
std::recursive_mutex* Section(void* p) { return static_cast<std::recursive_mutex*>(p); }
}  // namespace

CriticalSection::CriticalSection() : section_(new std::recursive_mutex) {}

CriticalSection::~CriticalSection() { delete Section(section_); }

void CriticalSection::lock() {
  if (section_) Section(section_)->lock();
}

void CriticalSection::unlock() {
  if (section_) Section(section_)->unlock();
}

bool CriticalSection::try_lock() { return !section_ || Section(section_)->try_lock(); }

}  // namespace zl
