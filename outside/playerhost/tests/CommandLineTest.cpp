#include <gtest/gtest.h>

#include "CommandLine.h"

using namespace playerhost;

TEST(CommandLineParse, OptionsValuesAndErrors) {
  CommandLine cmd;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--play", "--repeat", "--skin", "Winamp Modern", "--plugins", "P",
                                "--no-plugins", "--hidden", "--hang-after", "500", "--hang-for", "3000", "x.mp3",
                                "--", "--odd.mp3"},
                               cmd, error));
  EXPECT_TRUE(cmd.playAtOnce);
  EXPECT_TRUE(cmd.repeat);
  EXPECT_EQ(cmd.skinName, "Winamp Modern");
  EXPECT_EQ(cmd.pluginFolder, "P");
  EXPECT_FALSE(cmd.loadPlugins);
  EXPECT_TRUE(cmd.hidden);
  EXPECT_EQ(cmd.hangAfterMs, 500);
  EXPECT_EQ(cmd.hangForMs, 3000);
  EXPECT_EQ(cmd.defaultLengthSec, 180);
  EXPECT_EQ(cmd.items, (std::vector<std::string>{"x.mp3", "--odd.mp3"}));
  EXPECT_EQ(cmd.registration, CommandLine::Registration::None);
  ASSERT_TRUE(ParseCommandLine({"--unregister"}, cmd, error));
  EXPECT_EQ(cmd.registration, CommandLine::Registration::Unregister);

  EXPECT_FALSE(ParseCommandLine({"--default-length", "0"}, cmd, error));
  EXPECT_FALSE(ParseCommandLine({"--default-length", "12x"}, cmd, error));
  EXPECT_FALSE(ParseCommandLine({"--hang-for"}, cmd, error));
  EXPECT_NE(error.find("needs a value"), std::string::npos);
  EXPECT_FALSE(ParseCommandLine({"--volume", "3"}, cmd, error));
  EXPECT_NE(error.find("unknown option"), std::string::npos);
}
