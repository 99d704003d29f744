#pragma once
// CPU seconds (kernel and user) the benchmarks measure themselves by.
#include <windows.h>

namespace bench {

inline double Seconds(const FILETIME& t) {
  return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
}

inline double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return Seconds(kernel) + Seconds(user);
}

inline double ThreadCpuSeconds(HANDLE thread = GetCurrentThread()) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  return Seconds(kernel) + Seconds(user);
}

}  // namespace bench
