#include <gtest/gtest.h>

#include <map>
#include <string>

#include "lyricwindows/LayoutRecords.h"
#include "lyricwindows/SkinLayout.h"

namespace {

class MapKeys : public LayoutKeys {
 public:
  bool Read(const char* key, std::string& value) const override {
    auto it = values.find(key);
    if (it == values.end()) return false;
    value = it->second;
    return true;
  }
  bool Write(const char* key, const std::string& value) override {
    order.push_back(key);
    if (failing == key) return false;
    values[key] = value;
    return true;
  }
  std::map<std::string, std::string> values;
  std::vector<std::string> order;
  std::string failing;
};

std::string Zeros(int bytes) { return std::string(static_cast<size_t>(bytes) * 2, '0'); }

}  // namespace

TEST(LayoutRecords, FrameBitmapRecordBytesAreNamePaddedThenFiveLittleEndianWords) {
  FrameBitmapRecord r{};
  SetRecordText(r.name, "left-top.bmp");
  r.right = 63;
  r.bottom = 13;
  r.left = -2;
  r.flag = 1;
  MapKeys keys;
  WindowLayout l;
  l.bitmaps = {r};
  SaveWindowLayout(keys, l);
  // "left-top.bmp" in ASCII, NUL to 32 bytes, then -2, 0, 63, 13, 1.
  EXPECT_EQ(keys.values["MainDlg Bmp Data"],
            "6C6566742D746F702E626D70" + Zeros(20) + "FEFFFFFF" + "00000000" + "3F000000" + "0D000000" + "01000000");
  EXPECT_EQ(keys.values["MainDlg Bmp Number"], "1");
}

TEST(LayoutRecords, ControlRecordBytesAndKeyOrder) {
  ControlRecord c{};
  SetRecordText(c.tip, "Close");
  c.id = 32859;
  c.left = 289;
  c.top = 3;
  c.right = 298;
  c.bottom = 12;
  c.extra[2] = 7;
  WindowLayout l;
  l.controls = {c};
  l.x = 10;
  l.y = -20;
  l.width = 300;
  l.height = 320;
  MapKeys keys;
  EXPECT_TRUE(SaveWindowLayout(keys, l));
  EXPECT_EQ(keys.values["MainDlg Ctrl Data"], Zeros(32) + "436C6F7365" + Zeros(27) + "5B800000" + "21010000" +
                                                   "03000000" + "2A010000" + "0C000000" + Zeros(8) + "07000000");
  EXPECT_EQ(keys.values["Dialog Position"], "0A000000ECFFFFFF");
  EXPECT_EQ(keys.values["Dialog Size"], "2C01000040010000");
  EXPECT_EQ(keys.values["Face Path"], Zeros(64));
  const std::vector<std::string> order = {"Face Path", "Dialog Position", "Dialog Size", "MainDlg Bmp Number",
                                          "MainDlg Bmp Data", "Left Bmp Width", "MainDlg Ctrl Number",
                                          "MainDlg Ctrl Data", "MainDlg BK CLR", "MainDlg BORDER CLR",
                                          "MainDlg LIST BORDER CLR", "Min Width", "Min Height", "MiniBkColor"};
  EXPECT_EQ(keys.order, order);
}

TEST(LayoutRecords, RoundTripKeepsEveryValue) {
  WindowLayout l = DefaultLayout(LyricWindowKind::Main, SkinKind::Modern);
  const MainFrame f = BuildMainFrame(SkinKind::Modern, 320, 240, 13, 10, "关闭");
  l.bitmaps = f.pieces;
  l.controls = {f.close};
  l.x = -7;
  l.y = 33;
  l.width = 320;
  l.height = 240;
  l.bkColor = 0x123456;
  l.miniBkColor = 0x00ABCDEF;
  l.minWidth = 170;
  l.minHeight = 130;
  MapKeys keys;
  ASSERT_TRUE(SaveWindowLayout(keys, l));
  WindowLayout back;
  ASSERT_EQ(LoadWindowLayout(keys, back), LayoutLoad::Done);
  EXPECT_STREQ(back.facePath, "\\face\\winamp\\modern\\");
  EXPECT_TRUE(back.hasPosition);
  EXPECT_EQ(back.x, -7);
  EXPECT_EQ(back.y, 33);
  EXPECT_EQ(back.width, 320);
  EXPECT_EQ(back.height, 240);
  ASSERT_EQ(back.bitmaps.size(), 11u);
  EXPECT_STREQ(back.bitmaps[2].name, "logo-lyrics.bmp");
  EXPECT_EQ(back.bitmaps[2].left, 160 - 52);
  ASSERT_EQ(back.controls.size(), 1u);
  EXPECT_STREQ(back.controls[0].tip, "关闭");
  EXPECT_EQ(back.controls[0].id, kCloseButtonId);
  EXPECT_EQ(back.bkColor, 0x123456u);
  EXPECT_EQ(back.miniBkColor, 0xABCDEFu);
  EXPECT_EQ(back.minWidth, 170);
  EXPECT_EQ(back.minHeight, 130);
}

TEST(LayoutRecords, TooManyRecordsStopTheLoadWhereTheCountIs) {
  for (const char* count : {"21", "-1"}) {
    MapKeys keys;
    keys.values["Dialog Size"] = "2C01000040010000";
    keys.values["MainDlg Bmp Number"] = count;
    keys.values["Left Bmp Width"] = "9";
    keys.values["Min Width"] = "300";
    WindowLayout l;
    l.minWidth = 240;
    l.leftBmpWidth = 5;
    EXPECT_EQ(LoadWindowLayout(keys, l), LayoutLoad::CountOutOfRange) << count;
    EXPECT_EQ(l.width, 300) << "keys before the count are read";
    EXPECT_EQ(l.leftBmpWidth, 5) << "keys after it keep their values";
    EXPECT_EQ(l.minWidth, 240);
  }
  MapKeys keys;
  keys.values["MainDlg Ctrl Number"] = "21";
  keys.values["MainDlg BK CLR"] = "255";
  WindowLayout l;
  l.bkColor = 7;
  EXPECT_EQ(LoadWindowLayout(keys, l), LayoutLoad::CountOutOfRange);
  EXPECT_EQ(l.bkColor, 7u);
}

TEST(LayoutRecords, ShortDataGivesOnlyWholeRecordsAndTextFieldsAreBounded) {
  // Two records announced, one and a half present; the name fills all 32
  // bytes and ends in a double-byte character that a cut would split.
  std::string name;
  for (int i = 0; i < 30; ++i) name += "41";
  name += "B0A1";
  MapKeys keys;
  keys.values["MainDlg Bmp Number"] = "2";
  keys.values["MainDlg Bmp Data"] = name + Zeros(20) + "6C6566" + Zeros(23);
  WindowLayout l;
  ASSERT_EQ(LoadWindowLayout(keys, l), LayoutLoad::Done);
  ASSERT_EQ(l.bitmaps.size(), 1u);
  EXPECT_EQ(std::string(l.bitmaps[0].name), std::string(30, 'A'));
}

TEST(LayoutRecords, ShortPlaceValuesAndWildSizesAreKeptInBounds) {
  MapKeys keys;
  keys.values["Dialog Position"] = "0A000000";  // 4 bytes: not a position
  keys.values["Dialog Size"] = "A0860100FFFFFFFF";  // 100000 wide, -1 high
  keys.values["Min Height"] = "150";
  WindowLayout l;
  l.x = 3;
  l.minWidth = 240;
  ASSERT_EQ(LoadWindowLayout(keys, l), LayoutLoad::Done);
  EXPECT_FALSE(l.hasPosition);
  EXPECT_EQ(l.x, 3);
  EXPECT_EQ(l.width, kMaxWindowExtent);
  EXPECT_EQ(l.height, 150);
}

TEST(LayoutRecords, SaveReportsAFailedWriteButStillWritesTheMiniColour) {
  MapKeys keys;
  keys.failing = "Min Height";
  WindowLayout l;
  l.miniBkColor = 5;
  EXPECT_FALSE(SaveWindowLayout(keys, l));
  EXPECT_EQ(keys.values["MiniBkColor"], "5");
  keys.failing = "MiniBkColor";
  EXPECT_TRUE(SaveWindowLayout(keys, l));
}
