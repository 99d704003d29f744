#pragma once
// What every fuzzing harness shares: a broken property aborts, so that
// libFuzzer keeps the input as a finding, and harnesses read their
// structured input through clang's FuzzedDataProvider.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define FUZZ_CHECK(cond)                                                                        \
  do {                                                                                          \
    if (!(cond)) {                                                                              \
      std::fprintf(stderr, "property broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);         \
      std::abort();                                                                             \
    }                                                                                           \
  } while (0)

// A fixed-size text field holds a NUL and nothing longer than size - 1 bytes.
inline bool FuzzFieldTerminated(const char* field, size_t size) {
  return std::memchr(field, '\0', size) != nullptr;
}
