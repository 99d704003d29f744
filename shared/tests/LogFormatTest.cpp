#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "shared/LogFormat.h"

using namespace zl;

TEST(LogLine, FatalLineHasTheDocumentedLayout) {
  const LogTime t{3, 9, 14, 3, 7, 45};
  EXPECT_EQ(FormatLogLine(3, t, "CLyric", "OnChangeSong==IN"),
            "FATAL   [03-09 14:03:07.045][CLyric]: OnChangeSong==IN\n");
}

TEST(LogLine, EveryLevelHasItsSevenCharacterLabel) {
  const LogTime t{12, 31, 23, 59, 59, 999};
  EXPECT_EQ(FormatLogLine(0, t, "m", "x"), "DEBUG   [12-31 23:59:59.999][m]: x\n");
  EXPECT_EQ(FormatLogLine(1, t, "m", "x"), "NOTICE  [12-31 23:59:59.999][m]: x\n");
  EXPECT_EQ(FormatLogLine(2, t, "m", "x"), "WARNING [12-31 23:59:59.999][m]: x\n");
  EXPECT_EQ(FormatLogLine(4, t, "m", "x"), " [12-31 23:59:59.999][m]: x\n");
}

TEST(LogLine, LevelsAboveFourHaveNoLine) {
  EXPECT_EQ(FormatLogLine(5, LogTime{}, "m", "x"), "");
  EXPECT_EQ(FormatLogLine(7, LogTime{}, "m", "x"), "");
  EXPECT_EQ(LogLevelLabel(7), nullptr);
  EXPECT_EQ(LogSwitchKey(5), nullptr);
}

TEST(LogLine, NullModuleAndMessageAreEmpty) {
  EXPECT_EQ(FormatLogLine(3, LogTime{1, 2, 3, 4, 5, 6}, nullptr, nullptr),
            "FATAL   [01-02 03:04:05.006][]: \n");
}

TEST(LogLine, ClockFieldsOutOfRangeCannotWidenTheStamp) {
  const LogTime t{-1, 100, 7, 8, 9, 12345};
  EXPECT_EQ(FormatLogLine(3, t, "m", "x"), "FATAL   [00-99 07:08:09.999][m]: x\n");
}

TEST(LogSettings, SwitchKeysAreTheSettingsFileNames) {
  EXPECT_STREQ(LogSwitchKey(0), "Log Debug");
  EXPECT_STREQ(LogSwitchKey(1), "Log Notice");
  EXPECT_STREQ(LogSwitchKey(2), "Log Warning");
  EXPECT_STREQ(LogSwitchKey(3), "Log Fatal");
  EXPECT_STREQ(LogSwitchKey(4), "Log KeyInfo");
}

TEST(LogSettings, SwitchIsOnWhenEmptyOrNonZero) {
  EXPECT_TRUE(ParseLogSwitch(""));
  EXPECT_TRUE(ParseLogSwitch("1"));
  EXPECT_TRUE(ParseLogSwitch("-3"));
  EXPECT_FALSE(ParseLogSwitch("0"));
  EXPECT_FALSE(ParseLogSwitch("off"));
}

TEST(LogSettings, IgnoredModulesSkipEmptyItems) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ParseIgnoredModules(";;CLyric;"), V{"CLyric"});
  EXPECT_EQ(ParseIgnoredModules("A;B"), (V{"A", "B"}));
  EXPECT_EQ(ParseIgnoredModules(""), V{});
  EXPECT_EQ(ParseIgnoredModules(";"), V{});
  EXPECT_EQ(ParseIgnoredModules(" A ;B"), (V{" A ", "B"}));  // names are taken as written
}

TEST(LogSettings, SettingsFileLiesBesideTheExecutable) {
  EXPECT_EQ(SettingsPathBesideExecutable("C:\\Program Files\\Winamp\\winamp.exe"),
            "C:\\Program Files\\Winamp\\qnconf.ini");
  EXPECT_EQ(SettingsPathBesideExecutable("C:\\a.exe"), "C:\\qnconf.ini");
  EXPECT_EQ(SettingsPathBesideExecutable("winamp.exe"), "");
  EXPECT_EQ(SettingsPathBesideExecutable("/usr/bin/tool"), "");
  // The trail byte 0x5C of a double-byte character is no separator.
  EXPECT_EQ(SettingsPathBesideExecutable("C:\\a\\\x95\x5C.exe"), "C:\\a\\qnconf.ini");
  EXPECT_EQ(SettingsPathBesideExecutable("C:\\\x95\x5C\\w.exe"), "C:\\\x95\x5C\\qnconf.ini");
}

namespace {
std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatLogMessageV(format, args);
  va_end(args);
  return text;
}
}  // namespace

TEST(LogMessage, FormatsAnyLength) {
  EXPECT_EQ(Format("%s=%d", "n", 5), "n=5");
  const std::string longText(5000, 'q');
  EXPECT_EQ(Format("<%s>", longText.c_str()), "<" + longText + ">");
  EXPECT_EQ(Format("%zu %lld", static_cast<size_t>(7), -9000000000LL), "7 -9000000000");
  EXPECT_EQ(FormatLogMessageV(nullptr, nullptr), "");
}
