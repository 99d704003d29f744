#pragma once
// Usage events of the MV window's downloads, posted to the event-log service
// only while the installed version counts as recently published.
#include <string>

#include "shared/Logger.h"

namespace clipview {

struct UsageReporter {
  std::string softName = "LYRIC";
  std::string hostName;
  void Post(const char* act, const char* format, ...) const ZL_PRINTF_LIKE(3, 4);
};

// printf into a string, bounded.
std::string Format(const char* format, ...) ZL_PRINTF_LIKE(1, 2);

}  // namespace clipview
