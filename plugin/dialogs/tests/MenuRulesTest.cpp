// The context menu's check marks, enabled states and setting commands.
#include <gtest/gtest.h>

#include <map>

#include "dialogs/MenuRules.h"

using namespace lyricmenu;

namespace {
std::map<unsigned, MenuItemState> Menu(const zl::LyricSettings& s, const MenuInputs& in = {}) {
  std::map<unsigned, MenuItemState> items;
  for (const MenuItemState& item : DecideMenu(s, in)) items[item.id] = item;
  return items;
}
}  // namespace

TEST(MenuState, BackgroundKindsAndScrolling) {
  zl::LyricSettings s;
  for (int kind = 0; kind <= 3; ++kind) {
    s.font.bktype = kind;
    auto m = Menu(s);
    EXPECT_EQ(m[kSingerPicture].checked, kind == 0);
    EXPECT_EQ(m[kNoBackground].checked, kind == 3);
    EXPECT_EQ(m[kOtherBackground].checked, kind == 1 || kind == 2);
  }
  s.font.scrollType = 1;
  EXPECT_TRUE(Menu(s)[kHorizontalScroll].checked);
  EXPECT_FALSE(Menu(s)[kVerticalScroll].checked);
}

TEST(MenuState, SizesOnlyWithoutOwnFontAndAtTheirValue) {
  zl::LyricSettings s;
  s.font.lyricSize = 18;
  auto m = Menu(s);
  EXPECT_FALSE(m[kSizeSmall].checked);
  EXPECT_TRUE(m[kSizeMedium].checked);
  EXPECT_FALSE(m[kCustomFont].checked);
  s.font.lyricSize = 15;  // the default: none of the three
  m = Menu(s);
  EXPECT_FALSE(m[kSizeSmall].checked || m[kSizeMedium].checked || m[kSizeLarge].checked);
  s.font.lyricSize = 25;
  s.font.UserDefineFont = true;
  m = Menu(s);
  EXPECT_FALSE(m[kSizeLarge].checked);
  EXPECT_TRUE(m[kCustomFont].checked);
}

TEST(MenuState, LyricItemsFollowWhatTheControllerOffers) {
  zl::LyricSettings s;
  auto m = Menu(s);
  for (unsigned id : {kSearchRelate, kReloadLyric, kUploadLyric, kSongMv, kStarPictures})
    EXPECT_FALSE(m[id].enabled) << id;
  MenuInputs in;
  in.lyricAvailable = true;
  in.picturesAvailable = true;
  m = Menu(s, in);
  EXPECT_TRUE(m[kSearchRelate].enabled && m[kReloadLyric].enabled && m[kUploadLyric].enabled);
  EXPECT_FALSE(m[kSongMv].enabled);
  EXPECT_TRUE(m[kStarPictures].enabled);
  EXPECT_TRUE(m[kWheelAdjust].checked);  // enableWheel defaults to 1
}

TEST(MenuCommand, SettingsChangedByTheMenu) {
  zl::LyricSettings s;
  s.font.UserDefineFont = true;
  s.font.height = -30;
  ASSERT_TRUE(ApplyMenuSetting(kSizeLarge, s));
  EXPECT_EQ(s.font.lyricSize, 25);
  EXPECT_EQ(s.font.height, 25);
  EXPECT_FALSE(s.font.UserDefineFont);
  ASSERT_TRUE(ApplyMenuSetting(kWheelAdjust, s));
  EXPECT_EQ(s.enableWheel, 0);
  ASSERT_TRUE(ApplyMenuSetting(kKaraoke, s));
  EXPECT_TRUE(s.font.IsKalaOk);
  ASSERT_TRUE(ApplyMenuSetting(kNoBackground, s));
  EXPECT_EQ(s.font.bktype, 3);
  ASSERT_TRUE(ApplyMenuSetting(kHorizontalScroll, s));
  EXPECT_EQ(s.font.scrollType, 1);
  EXPECT_FALSE(ApplyMenuSetting(kOptions, s));
  EXPECT_FALSE(ApplyMenuSetting(kCustomFont, s));
}
