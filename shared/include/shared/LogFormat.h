#pragma once
// The logger's text rules, free of any system call: the line layout, the
// settings values and the message formatting.
#include <cstdarg>
#include <string>
#include <vector>

namespace zl {

// Local time of a log line, as the fields the line shows.
struct LogTime {
  int month = 1, day = 1, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// "DEBUG  ", "NOTICE ", "WARNING", "FATAL  ", "" for KeyInfo; null above 4.
const char* LogLevelLabel(unsigned level);

// Key of the level's switch in section "LOG" of qnconf.ini ("Log Fatal"…);
// null above 4.
const char* LogSwitchKey(unsigned level);

// label " [MM-DD hh:mm:ss.mmm][module]: message\n". Empty for levels above 4.
std::string FormatLogLine(unsigned level, const LogTime& time, const char* module,
                          const char* message);

// A level switch value: empty means on, otherwise on when atoi is non-zero.
bool ParseLogSwitch(const std::string& value);

// "Ignored Modules": names separated by ';', empty items skipped.
std::vector<std::string> ParseIgnoredModules(const std::string& value);

// qnconf.ini beside the executable: the path up to and including its last
// backslash followed by "qnconf.ini"; "" when there is no backslash.
std::string SettingsPathBesideExecutable(const std::string& executablePath);

// vsnprintf into a string of exactly the formatted length ("" when the
// format is null or invalid).
std::string FormatLogMessageV(const char* format, va_list args);

}  // namespace zl
