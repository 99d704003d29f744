#include "shared/LyricSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "shared/ProfileText.h"

using namespace zl;

namespace {

// conf.ini text read the way the profile functions read it.
class IniSource : public SettingsSource {
 public:
  explicit IniSource(std::string text) : text_(std::move(text)) {}
  std::string Text(const char* section, const char* key, const char* def) const override {
    std::string value;
    return FindIniValue(text_, section, key, value) ? value : def;
  }

 private:
  std::string text_;
};

class RecordingSink : public SettingsSink {
 public:
  void WriteText(const char* section, const char* key, const std::string& value) override {
    calls.push_back(std::string(section) + "/" + key + "=" + value);
  }
  void DeleteSection(const char* section) override { calls.push_back(std::string("delete ") + section); }
  std::vector<std::string> calls;
};

LyricSettings Load(const std::string& ini, const std::string& home = "C:\\zo") {
  LyricSettings s;
  LoadLyricSettings(IniSource(ini), home, s);
  return s;
}

}  // namespace

TEST(LyricSettings, MissingFileGivesTheDefaults) {
  const LyricSettings s = Load("");
  EXPECT_EQ(s.ConType, "1");
  EXPECT_EQ(s.ProxyServer, "");
  EXPECT_EQ(s.RetryTime, 20);
  EXPECT_EQ(s.UpdateSongInfo, 0);
  EXPECT_EQ(s.SaveLrcFileAsSongFileName, 0);
  EXPECT_EQ(s.SaveLrcInSongPath, 0);
  EXPECT_EQ(s.SaveLrcInOtherPath, 1);
  EXPECT_EQ(s.LrcSavePath, "C:\\zo\\lyric");
  EXPECT_FALSE(s.autofprecognise);
  EXPECT_TRUE(s.usefprecognise);
  EXPECT_FALSE(s.wheelTip);
  EXPECT_EQ(s.enableWheel, 1);
  EXPECT_EQ(s.RightBtn, 0);
  EXPECT_EQ(s.font.height, -16);
  EXPECT_EQ(s.font.lyricSize, 15);
  EXPECT_EQ(s.font.facename, "@Fixedsys");
  EXPECT_EQ(s.font.weight, 400);
  EXPECT_TRUE(s.localFolders.empty());
}

TEST(LyricSettings, ValuesOfEveryTypeAreRead) {
  const LyricSettings s = Load(
      "[PROXY]\r\nConType=2\r\nProxyServer=proxy.lan\r\nProxyPort=3128\r\nUserName=u\r\nPassword=p\r\n"
      "[CONFIG]\r\nRetryTime=5\r\n"
      "[LYRIC_FILE]\r\nSaveLrcFileAsSongFileName=1\r\nSaveLrcInSongPath=1\r\nSaveLrcInOtherPath=0\r\n"
      "LrcSavePath=D:\\lyrics\r\n"
      "[FP_RECOGNISE]\r\nautofprecognise=yes\r\nusefprecognise=0\r\n"
      "[Style]\r\nwheelTip=TRUE\r\nenableWheel=0\r\nlyricSize=25\r\nIsKalaOk=1\r\n"
      "[Stype]\r\nRightBtn=3\r\n"
      "[LYRIC_FONT]\r\nheight=-20\r\nrgb=12615680\r\nfacename=Arial\r\n"
      "[BACK_GROUND]\r\nbktype=1\r\npicpath=C:\\bk.jpg\r\n");
  EXPECT_EQ(s.ConType, "2");
  EXPECT_EQ(s.ProxyServer, "proxy.lan");
  EXPECT_EQ(s.ProxyPort, "3128");
  EXPECT_EQ(s.UserName, "u");
  EXPECT_EQ(s.Password, "p");
  EXPECT_EQ(s.RetryTime, 5);
  EXPECT_EQ(s.SaveLrcFileAsSongFileName, 1);
  EXPECT_EQ(s.SaveLrcInSongPath, 1);
  EXPECT_EQ(s.SaveLrcInOtherPath, 0);
  EXPECT_EQ(s.LrcSavePath, "D:\\lyrics");
  EXPECT_TRUE(s.autofprecognise);
  EXPECT_FALSE(s.usefprecognise);
  EXPECT_TRUE(s.wheelTip);
  EXPECT_EQ(s.enableWheel, 0);
  EXPECT_EQ(s.RightBtn, 3);  // from the section spelled "Stype"
  EXPECT_EQ(s.font.lyricSize, 25);
  EXPECT_TRUE(s.font.IsKalaOk);
  EXPECT_EQ(s.font.height, -20);
  EXPECT_EQ(s.font.rgb, 12615680);
  EXPECT_EQ(s.font.facename, "Arial");
  EXPECT_EQ(s.font.bktype, 1);
  EXPECT_EQ(s.font.picpath, "C:\\bk.jpg");
}

TEST(LyricSettings, EmptyValuesFollowTheirType) {
  const LyricSettings s =
      Load("[PROXY]\r\nConType=\r\n[CONFIG]\r\nRetryTime=\r\n[FP_RECOGNISE]\r\nusefprecognise=\r\n");
  EXPECT_EQ(s.ConType, "");       // a text key present but empty stays empty
  EXPECT_EQ(s.RetryTime, 20);     // an empty number takes the default
  EXPECT_TRUE(s.usefprecognise);  // so does an empty boolean
}

TEST(LyricSettings, SavePathEmptyOrTooLongTakesTheDefault) {
  EXPECT_EQ(Load("[LYRIC_FILE]\r\nLrcSavePath=\r\n").LrcSavePath, "C:\\zo\\lyric");
  const std::string longPath = "D:\\" + std::string(300, 'x');
  EXPECT_EQ(Load("[LYRIC_FILE]\r\nLrcSavePath=" + longPath + "\r\n").LrcSavePath, "C:\\zo\\lyric");
  const std::string fits = "D:\\" + std::string(256, 'x');  // 259 bytes
  EXPECT_EQ(Load("[LYRIC_FILE]\r\nLrcSavePath=" + fits + "\r\n").LrcSavePath, fits);
}

TEST(LyricSettings, TextsAreCutToTheirBuffersWithoutSplittingACharacter) {
  // 126 ASCII bytes, then a GBK character that would end at byte 128.
  const std::string server = std::string(126, 'a') + "\xCB\xCE" + "tail";
  EXPECT_EQ(Load("[PROXY]\r\nProxyServer=" + server + "\r\n").ProxyServer, std::string(126, 'a'));
  const std::string face(300, 'f');
  EXPECT_EQ(Load("[LYRIC_FONT]\r\nfacename=" + face + "\r\n").font.facename, std::string(255, 'f'));
}

TEST(LyricSettings, LocalFoldersSkipEmptyEntries) {
  const LyricSettings s = Load(
      "[LOCAL_LRC]\r\npathnum=3\r\npath0=D:\\a\r\ncheck0=1\r\npath1=\r\npath2=E:\\b\r\ncheck2=0\r\n"
      "path3=F:\\beyond\r\n");
  ASSERT_EQ(s.localFolders.size(), 2u);
  EXPECT_EQ(s.localFolders[0].path, "D:\\a");
  EXPECT_TRUE(s.localFolders[0].checked);
  EXPECT_EQ(s.localFolders[1].path, "E:\\b");
  EXPECT_FALSE(s.localFolders[1].checked);
}

TEST(LyricSettings, LocalFoldersWithBadCountsOrOverlongPaths) {
  EXPECT_TRUE(Load("[LOCAL_LRC]\r\npathnum=-2\r\npath0=D:\\a\r\n").localFolders.empty());
  EXPECT_TRUE(Load("[LOCAL_LRC]\r\npath0=D:\\a\r\n").localFolders.empty());
  const LyricSettings s =
      Load("[LOCAL_LRC]\r\npathnum=2\r\npath0=D:\\" + std::string(300, 'x') + "\r\npath1=D:\\ok\r\n");
  ASSERT_EQ(s.localFolders.size(), 1u);
  EXPECT_EQ(s.localFolders[0].path, "D:\\ok");
  EXPECT_TRUE(s.localFolders[0].checked);  // no check key: checked
}

TEST(LyricSettings, ResetSetsTheResetValuesAndKeepsUsageFlagsAndFolders) {
  LyricSettings s = Load(
      "[PROXY]\r\nConType=0\r\nProxyServer=x\r\n[Style]\r\nhasUsedMini=1\r\nhaswheel=1\r\n"
      "[Stype]\r\nRightBtn=2\r\n[LYRIC_FILE]\r\nLrcSavePath=D:\\l\r\n"
      "[LOCAL_LRC]\r\npathnum=1\r\npath0=D:\\a\r\n");
  ResetLyricSettings("C:\\zo", s);
  EXPECT_EQ(s.ConType, "1");
  EXPECT_EQ(s.ProxyServer, "");
  EXPECT_EQ(s.LrcSavePath, "C:\\zo\\lyric");
  EXPECT_EQ(s.font.height, -14);
  EXPECT_EQ(s.font.lyricSize, 14);
  EXPECT_EQ(s.font.rgb, 12615680);
  EXPECT_EQ(s.font.highlightrgb, 65280);
  EXPECT_EQ(s.font.backcolor, 12376814);
  EXPECT_EQ(s.font.backpiclum, 30);
  EXPECT_EQ(s.font.facename, "\xCB\xCE\xCC\xE5");  // SimSun's GBK name
  EXPECT_EQ(s.hasUsedMini, 1);
  EXPECT_EQ(s.haswheel, 1);
  EXPECT_EQ(s.RightBtn, 2);
  ASSERT_EQ(s.localFolders.size(), 1u);
}

TEST(LyricSettings, SaveWritesEveryKeyInLoadOrderWithFontValuesLast) {
  LyricSettings s;
  s.LrcSavePath = "C:\\zo\\lyric";
  s.usefprecognise = true;
  s.font.height = -14;
  RecordingSink sink;
  SaveLyricSettings(s, sink);
  const std::vector<std::string> expected = {
      "PROXY/ConType=1", "PROXY/ProxyServer=", "PROXY/ProxyPort=", "PROXY/UserName=",
      "PROXY/Password=", "CONFIG/RetryTime=20", "LYRIC_FILE/UpdateSongInfo=0",
      "LYRIC_FILE/SaveLrcFileAsSongFileName=0", "LYRIC_FILE/SaveLrcInSongPath=0",
      "LYRIC_FILE/SaveLrcInOtherPath=1", "LYRIC_FILE/LrcSavePath=C:\\zo\\lyric",
      "FP_RECOGNISE/autofprecognise=0", "FP_RECOGNISE/usefprecognise=1", "Style/wheelTip=0",
      "Style/hasUsedMini=0", "Style/lyricMaybeWrong=0", "Style/enableWheel=1", "Style/haswheel=0",
      "Stype/RightBtn=0", "Style/scrollType=0", "Style/lyricSize=15", "Style/UserDefineFont=0",
      "Style/IsKalaOk=0", "LYRIC_FONT/facename=@Fixedsys", "LYRIC_FONT/weight=400",
      "LYRIC_FONT/italic=0", "LYRIC_FONT/underline=0", "LYRIC_FONT/strikeout=0",
      "LYRIC_FONT/height=-14", "LYRIC_FONT/rgb=0", "LYRIC_FONT/highlightrgb=0",
      "BACK_GROUND/bktype=0", "BACK_GROUND/picpath=", "BACK_GROUND/backcolor=0",
      "BACK_GROUND/backpiclum=0"};
  EXPECT_EQ(sink.calls, expected);
  EXPECT_EQ(LyricSettingKeys().size(), expected.size());
}

TEST(LyricSettings, SavingFoldersReplacesTheWholeSection) {
  RecordingSink sink;
  SaveLocalLyricFolders({{"D:\\a", true}, {"E:\\b", false}}, sink);
  const std::vector<std::string> expected = {"delete LOCAL_LRC", "LOCAL_LRC/pathnum=2",
                                             "LOCAL_LRC/path0=D:\\a", "LOCAL_LRC/check0=1",
                                             "LOCAL_LRC/path1=E:\\b", "LOCAL_LRC/check1=0"};
  EXPECT_EQ(sink.calls, expected);
}
