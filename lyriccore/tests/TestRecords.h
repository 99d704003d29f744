#pragma once
// Small helpers shared by the engine tests.
#include <cstddef>
#include <string>

#include "shared/GbkText.h"

template <size_t N>
void Set(char (&field)[N], const std::string& value) {
  zl::CopyGbkBounded(field, N, value.data(), value.size());
}
