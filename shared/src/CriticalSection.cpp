#include "shared/CriticalSection.h"

#include <utility>

namespace zl {

CriticalSection::CriticalSection(CriticalSection&& other) noexcept
    : section_(std::exchange(other.section_, nullptr)) {}

CriticalSection& CriticalSection::operator=(CriticalSection&& other) noexcept {
  if (this != &other) {
    CriticalSection old(std::move(*this));
    section_ = std::exchange(other.section_, nullptr);
  }
  return *this;
}

}  // namespace zl
