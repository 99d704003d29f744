// The stand-in's own record code and progress arithmetic.
#include <gtest/gtest.h>

#include "ServerOptions.h"
#include "ServerWire.h"

using namespace p2pserver;

namespace {

TEST(ServerWire, RequestAndCancelAreCheckedBeforeUse) {
  std::string b(76, '\0');
  b[0] = 1;
  b[4] = 2;
  b.replace(12, 5, "ZoP2P");
  Pair p;
  std::string reply;
  ASSERT_TRUE(ParseRequest(b.data(), b.size(), p, reply));
  EXPECT_EQ(p.first, 1u);
  EXPECT_EQ(p.second, 2u);
  EXPECT_EQ(reply, "ZoP2P");
  EXPECT_FALSE(ParseRequest(b.data(), 75, p, reply));
  std::string noNul = b;
  noNul.replace(12, 64, std::string(64, 'x'));
  EXPECT_FALSE(ParseRequest(noNul.data(), noNul.size(), p, reply));
  EXPECT_TRUE(ParseCancel(b.data(), 8, p));
  EXPECT_FALSE(ParseCancel(b.data(), 9, p));
}

TEST(ServerWire, StatusAndLookupLayout) {
  Status s;
  s.pair = {0x11223344, 5};
  s.event = 5;
  s.usable = 50;
  s.download = 60;
  s.rate = 1000;
  s.total = 20000;
  s.path = "C:\\s\\1-2.flv";
  const std::string b = EncodeStatus(s);
  ASSERT_EQ(b.size(), 296u);
  EXPECT_EQ(b.substr(0, 4), std::string("\x44\x33\x22\x11", 4));
  EXPECT_EQ(b[8], 5);
  EXPECT_EQ(b[12], 50);
  EXPECT_EQ(b[16], 60);
  EXPECT_EQ(b.substr(32, 4), std::string("\x20\x4e\0\0", 4));
  EXPECT_EQ(b.substr(36, 13), std::string("C:\\s\\1-2.flv\0", 13));
  const std::string l = EncodeLookup({7, 8}, std::string(300, 'p'), 100);
  ASSERT_EQ(l.size(), 272u);
  EXPECT_EQ(l[267], '\0');  // a long path is cut and still ends inside its field
  EXPECT_EQ(l[268], 100);
}

TEST(ServerWire, UsableCountsWholeBlocksFromTheStart) {
  EXPECT_EQ(UsablePercent(16383, 20000), 0u);
  EXPECT_EQ(UsablePercent(16384, 20000), 50u);
  EXPECT_EQ(UsablePercent(19999, 20000), 50u);
  EXPECT_EQ(UsablePercent(20000, 20000), 100u);
  EXPECT_EQ(DownloadPercent(10000, 20000), 50u);
  EXPECT_EQ(DownloadPercent(0, 0), 0u);
}

TEST(ServerOptions, FaultsPerResourceAndBadValues) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseArguments({"--library", "L", "--fault", "stall@3,4", "--fault", "hang", "--rate", "500"}, o, error));
  EXPECT_EQ(o.FaultFor({3, 4}), Fault::Stall);
  EXPECT_EQ(o.FaultFor({1, 1}), Fault::Hang);
  EXPECT_EQ(o.rate, 500u);
  EXPECT_FALSE(ParseArguments({"--rate", "x"}, o, error));
  EXPECT_FALSE(ParseArguments({"--fault", "sometimes"}, o, error));
  EXPECT_FALSE(ParseArguments({"--library"}, o, error));
}

}  // namespace
