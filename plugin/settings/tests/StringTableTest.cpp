#include <gtest/gtest.h>

#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

TEST(StringTable, LinesKeysAndValues) {
  StringTable t;
  t.Parse("Play=播放\r\n"
          "\r\n"
          "=orphan value\r\n"
          "NoEquals Line\n"
          "Url=http://a/b?c=d\n"
          "Empty=\n"
          "Play=again\r\n"
          "Last=no line feed");
  EXPECT_EQ(t.Get("Play"), "again");
  EXPECT_EQ(t.Get("NoEquals Line"), "NoEquals Line");
  EXPECT_EQ(t.Get("Url"), "http://a/b?c=d");  // split at the first "=" only
  EXPECT_EQ(t.Get("Empty"), "");
  EXPECT_EQ(t.Get("Last"), "no line feed");
  EXPECT_EQ(t.Get(""), "");       // the "=" line defined nothing
  EXPECT_EQ(t.Get("Missing"), "");
  EXPECT_EQ(t.Get(nullptr), "");
  EXPECT_EQ(t.Size(), 5u);
}

TEST(StringTable, MissingFileIsAnEmptyTable) {
  StringTable t;
  t.Parse("A=1");
  EXPECT_FALSE(t.Load("no/such/StringConfig.ini"));
  EXPECT_EQ(t.Get("A"), "");
  EXPECT_EQ(StringTablePath("C:\\Home"), "C:\\Home\\config\\StringConfig.ini");
}

TEST(SettingsStore, DrawConfigFollowsEveryChange) {
  SettingsStore store;
  struct Empty : zl::SettingsSource {
    std::string Text(const char*, const char*, const char* def) const override { return def; }
  } none;
  store.Load(none, "C:\\Home");
  EXPECT_EQ(store.FilePath(), "C:\\Home\\conf.ini");
  EXPECT_EQ(store.DrawConfig().height, -16);
  EXPECT_STREQ(store.DrawConfig().facename, "@Fixedsys");

  store.Modify([](zl::LyricSettings& s) {
    s.font.facename = std::string(300, 'f');
    s.font.rgb = 0x123456;
    s.font.IsKalaOk = true;
  });
  const LyricDrawConfig& c = store.DrawConfig();
  EXPECT_EQ(std::string(c.facename).size(), 255u);  // cut to the field
  EXPECT_EQ(c.rgb, 0x123456u);
  EXPECT_EQ(c.IsKalaOk, 1);

  store.ResetSettings();
  EXPECT_EQ(store.DrawConfig().height, -14);
  EXPECT_EQ(store.DrawConfig().highlightrgb, 65280u);
  EXPECT_EQ(store.Values().LrcSavePath, "C:\\Home\\lyric");
}
