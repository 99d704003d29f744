#include <gtest/gtest.h>

#include "LogQuota.h"

using namespace logsvr;

namespace {

class MapStore : public CounterStore {
 public:
  bool Read(const std::string& name, uint32_t& v) override {
    auto it = values.find(name);
    if (it == values.end()) return false;
    v = it->second;
    return true;
  }
  bool Write(const std::string& name, uint32_t v) override {
    if (name == failWrites) return false;
    values[name] = v;
    return true;
  }
  std::map<std::string, uint32_t> values;
  std::string failWrites;
};

constexpr uint32_t kDay = 86400;
constexpr uint32_t kNoon = 20000 * kDay + 12 * 3600;

MessageTable Table(uint32_t interval, uint32_t daily) { return {{"PLAY", MessageRule{interval, daily}}}; }

}  // namespace

TEST(AllowSend, QuotaOfOnePerDayWithoutInterval) {
  MapStore s;
  const auto t = Table(0, 1);
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon, s));
  EXPECT_EQ(s.values["PLAY_TIMES"], 1u);
  EXPECT_EQ(s.values["PLAY_LAST_DATE"], kNoon / kDay);
  EXPECT_FALSE(AllowSend("PLAY", t, kNoon + 60, s));
  EXPECT_EQ(s.values["PLAY_TIMES"], 1u);
  // The attempt passed the interval, so its time is kept.
  EXPECT_EQ(s.values["PLAY_LAST_TIME"], kNoon + 60);
  // Next UTC day: the count starts again at 1.
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon + kDay, s));
  EXPECT_EQ(s.values["PLAY_TIMES"], 1u);
  EXPECT_EQ(s.values["PLAY_LAST_DATE"], kNoon / kDay + 1);
}

TEST(AllowSend, WithinTheIntervalIsRefusedWithoutCounting) {
  MapStore s;
  const auto t = Table(10, 5);
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon, s));
  EXPECT_FALSE(AllowSend("PLAY", t, kNoon + 599, s));
  EXPECT_EQ(s.values["PLAY_TIMES"], 1u);
  EXPECT_EQ(s.values["PLAY_LAST_TIME"], kNoon);
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon + 600, s));
  EXPECT_EQ(s.values["PLAY_TIMES"], 2u);
}

TEST(AllowSend, ClockGoingBackResetsTheLastTime) {
  MapStore s;
  const auto t = Table(10, 5);
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon, s));
  EXPECT_FALSE(AllowSend("PLAY", t, kNoon - 3600, s));
  EXPECT_EQ(s.values["PLAY_LAST_TIME"], kNoon - 3600);
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon - 3600 + 600, s));
}

TEST(AllowSend, UnknownActsAreRefusedAndUninstallAlwaysPasses) {
  MapStore s;
  EXPECT_FALSE(AllowSend("OTHER", Table(0, 9), kNoon, s));
  EXPECT_TRUE(s.values.empty());
  EXPECT_TRUE(AllowSend("uninstall", MessageTable{}, kNoon, s));
}

TEST(AllowSend, FailedCountWriteMeansNotSent) {
  MapStore s;
  s.failWrites = "PLAY_TIMES";
  EXPECT_FALSE(AllowSend("PLAY", Table(0, 3), kNoon, s));
}

TEST(AllowSend, DefaultIntervalOfSixtyDaysDoesNotOverflow) {
  MapStore s;
  const auto t = MessageTable{{"PLAY", MessageRule{}}};  // 86400 minutes, once a day
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon, s));
  EXPECT_FALSE(AllowSend("PLAY", t, kNoon + 59 * kDay, s));
  EXPECT_TRUE(AllowSend("PLAY", t, kNoon + 60 * kDay, s));
}
