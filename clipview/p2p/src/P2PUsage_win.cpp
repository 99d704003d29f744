#include "P2PUsage_win.h"

#include <cstdarg>
#include <cstdio>

#include "shared/InstallHome.h"
#include "shared/LogEventClient.h"

namespace clipview {

namespace {

std::string FormatList(const char* format, va_list args) {
  char text[1024];
  const int n = std::vsnprintf(text, sizeof text, format, args);
  return n < 0 ? std::string() : std::string(text, size_t(n) < sizeof text ? size_t(n) : sizeof text - 1);
}

}  // namespace

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatList(format, args);
  va_end(args);
  return text;
}

void UsageReporter::Post(const char* act, const char* format, ...) const {
  if (!IsRecentPublish()) return;
  va_list args;
  va_start(args, format);
  const std::string text = FormatList(format, args);
  va_end(args);
  PostLogEvent(softName.c_str(), hostName.c_str(), act, text.c_str());
}

}  // namespace clipview
