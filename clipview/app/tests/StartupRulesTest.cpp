#include "app/StartupRules.h"

#include <gtest/gtest.h>

using namespace clipview;

TEST(FlashCheck, VersionTenPassesSixAndMissingFail) {
  EXPECT_EQ(FlashMajorVersion("10,0,45,2"), 10);
  EXPECT_FALSE(FlashTooOld(FlashMajorVersion("10,0,45,2")));
  EXPECT_EQ(FlashMajorVersion("6.0.79.0"), 6);
  EXPECT_TRUE(FlashTooOld(FlashMajorVersion("6.0.79.0")));
  EXPECT_TRUE(FlashTooOld(FlashMajorVersion("6,0,79,0")));
  EXPECT_EQ(FlashMajorVersion(""), 0);
  EXPECT_TRUE(FlashTooOld(FlashMajorVersion("")));
  EXPECT_EQ(FlashMajorVersion("7"), 7);
}

TEST(ShareSpace, Thresholds) {
  EXPECT_EQ(ChooseShareSpace(60, 10).megabytes, 0u);
  EXPECT_TRUE(ChooseShareSpace(60, 10).warnLowDisk);
  EXPECT_EQ(ChooseShareSpace(61, 10).megabytes, 40u);  // 10 + 61 / 2
  EXPECT_FALSE(ChooseShareSpace(61, 10).warnLowDisk);
  EXPECT_EQ(ChooseShareSpace(512, 7).megabytes, 263u);
  EXPECT_EQ(ChooseShareSpace(513, 7).megabytes, 512u);
}

TEST(ShareSpace, SetupTextKeepsEverythingAroundTheNumber) {
  std::string text = "<Setup>\r\n <MaxSpaceSize>1024</MaxSpaceSize>\r\n <Port>80</Port>\r\n</Setup>";
  ASSERT_TRUE(ReplaceMaxSpaceSize(text, 263));
  EXPECT_EQ(text, "<Setup>\r\n <MaxSpaceSize>263</MaxSpaceSize>\r\n <Port>80</Port>\r\n</Setup>");
  std::string empty = "<MaxSpaceSize></MaxSpaceSize>";
  ASSERT_TRUE(ReplaceMaxSpaceSize(empty, 0));
  EXPECT_EQ(empty, "<MaxSpaceSize>0</MaxSpaceSize>");
  std::string none = "<MaxSpaceSize>12";
  EXPECT_FALSE(ReplaceMaxSpaceSize(none, 5));
  EXPECT_EQ(none, "<MaxSpaceSize>12");
}
