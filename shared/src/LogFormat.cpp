#include "shared/LogFormat.h"

#include <cstdio>
#include <cstdlib>

#include "shared/GbkPath.h"

namespace zl {

namespace {
const char* const kLabels[] = {"DEBUG  ", "NOTICE ", "WARNING", "FATAL  ", ""};
const char* const kSwitchKeys[] = {"Log Debug", "Log Notice", "Log Warning", "Log Fatal",
                                   "Log KeyInfo"};
constexpr unsigned kLevelCount = sizeof kLabels / sizeof kLabels[0];
}  // namespace

const char* LogLevelLabel(unsigned level) { return level < kLevelCount ? kLabels[level] : nullptr; }

const char* LogSwitchKey(unsigned level) {
  return level < kLevelCount ? kSwitchKeys[level] : nullptr;
}

std::string FormatLogLine(unsigned level, const LogTime& t, const char* module,
                          const char* message) {
  const char* label = LogLevelLabel(level);
  if (!label) return std::string();
  // The fields are clamped so that a broken clock cannot widen the stamp.
  auto clamp = [](int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, " [%02d-%02d %02d:%02d:%02d.%03d]", clamp(t.month, 99),
                clamp(t.day, 99), clamp(t.hour, 99), clamp(t.minute, 99), clamp(t.second, 99),
                clamp(t.millisecond, 999));
  std::string line = label;
  line += stamp;
  line += '[';
  line += module ? module : "";
  line += "]: ";
  line += message ? message : "";
  line += '\n';
  return line;
}

bool ParseLogSwitch(const std::string& value) {
  return value.empty() || std::atoi(value.c_str()) != 0;
}

std::vector<std::string> ParseIgnoredModules(const std::string& value) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    if (end > start) names.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string SettingsPathBesideExecutable(const std::string& executablePath) {
  // Only '\' separates here: a path of another system has no such file beside it.
  const size_t slash = LastPathSeparator(executablePath, "\\");
  if (slash == std::string::npos) return std::string();
  return executablePath.substr(0, slash + 1) + "qnconf.ini";
}

std::string FormatLogMessageV(const char* format, va_list args) {
  if (!format) return std::string();
  va_list probe;
  va_copy(probe, args);
  const int length = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, args);
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace zl
