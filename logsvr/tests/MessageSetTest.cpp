#include <gtest/gtest.h>

#include <map>

#include "MessageSet.h"

using namespace logsvr;

namespace {
MessageTable Load(const std::map<std::string, std::string>& values) {
  return LoadMessageTable([&values](const std::string& key) {
    const auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
  });
}
}  // namespace

TEST(MessageSet, EntriesWithTheirRulesAndDefaults) {
  const MessageTable t = Load({{"MsgNum", "3"},
                               {"MsgName0", "EVENT"},
                               {"MsgInterval0", "0"},
                               {"MsgDailyTimes0", "5"},
                               {"MsgName1", "LRCGETPRO"},
                               {"MsgName2", "GETLRC"},
                               {"MsgInterval2", " 60"},
                               {"MsgName3", "BEYOND"}});
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t.at("EVENT").intervalMinutes, 0u);
  EXPECT_EQ(t.at("EVENT").dailyTimes, 5u);
  EXPECT_EQ(t.at("LRCGETPRO").intervalMinutes, 86400u);
  EXPECT_EQ(t.at("LRCGETPRO").dailyTimes, 1u);
  EXPECT_EQ(t.at("GETLRC").intervalMinutes, 60u);
  EXPECT_EQ(t.count("BEYOND"), 0u);  // past MsgNum
}

TEST(MessageSet, NoCountNoTable) {
  EXPECT_TRUE(Load({}).empty());
  EXPECT_TRUE(Load({{"MsgNum", "0"}, {"MsgName0", "EVENT"}}).empty());
  EXPECT_TRUE(Load({{"MsgNum", "-3"}, {"MsgName0", "EVENT"}}).empty());
  EXPECT_TRUE(Load({{"MsgNum", "x"}, {"MsgName0", "EVENT"}}).empty());
}

TEST(MessageSet, NamesAreCutWithoutSplittingACharacter) {
  // 126 ASCII bytes and a double-byte character: 128 bytes, cut before it.
  const std::string name = std::string(126, 'a') + "\xC4\xE3";
  const MessageTable t = Load({{"MsgNum", "2"}, {"MsgName0", name}, {"MsgName1", "A"}, {"MsgDailyTimes1", "2"}});
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t.count(std::string(126, 'a')), 1u);
  // A huge count reads only as far as the entries allowed.
  int reads = 0;
  const MessageTable big = LoadMessageTable([&reads](const std::string& key) {
    ++reads;
    return key == "MsgNum" ? std::string("2147483647") : std::string("E");
  });
  EXPECT_EQ(big.size(), 1u);
  EXPECT_EQ(reads, 1 + 3 * kMaxMessageKinds);
}

TEST(MessageSet, FileLiesInTheSystemFolder) {
  EXPECT_EQ(MessageSetPath("C:\\windows\\system32", "msgset"), "C:\\windows\\system32\\msgset.img");
  EXPECT_EQ(MessageSetPath("C:\\windows\\system32", ""), "");
}
