// The settings dialog under Wine: reset then OK, the ChangeConf rule, the
// retry field, and a look at every page.
#include <fstream>

#include "DialogIds.h"
#include "DialogTestBase_win.h"

using namespace dlgtest;

namespace {

class SettingsTest : public DialogTest {
 protected:
  void Conf(const std::string& text) {
    std::ofstream(home_.Home() + "\\conf.ini", std::ios::binary) << text;
    ctrl_->settings.LoadSettingsFrom(home_.Home());
  }
  HWND Open(SettingsPage page = SettingsPage::Font) {
    closed_ = false;
    ui_->Post([this, page] {
      dialogs_->ShowSettingsDialog(page);
      closed_ = true;
    });
    return WaitForDialogCaption("AmbrelConfig");
  }
  HWND Page(HWND dialog, int index) {
    SelectListBoxItem(dialog, IDC_ST_PAGES, index);
    return VisiblePage(dialog);
  }
  std::string ConfText() { return ReadFile(home_.Home() + "\\conf.ini"); }
  bool ConfHas(const std::string& line) { return ConfText().find(line + "\r\n") != std::string::npos; }

  std::atomic<bool> closed_{false};
};

const char kCustomConf[] =
    "[CONFIG]\r\nRetryTime=30\r\n[Style]\r\nlyricSize=18\r\nRightBtn=7\r\n"
    "[LYRIC_FONT]\r\nheight=-20\r\nrgb=1\r\nhighlightrgb=2\r\n"
    "[BACK_GROUND]\r\nbackcolor=5\r\nbackpiclum=7\r\n"
    "[LOCAL_LRC]\r\npathnum=1\r\npath0=d:\\lrc\r\ncheck0=1\r\n";

}  // namespace

TEST_F(SettingsTest, ResetThenOkWritesTheResetValuesAndReportsTheChange) {
  Conf(kCustomConf);
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  HWND network = Page(dialog, 2);
  ASSERT_TRUE(network);
  EXPECT_EQ(ItemText(network, IDC_NW_RETRY), "30");
  Click(dialog, IDC_ST_RESET);
  ASSERT_TRUE(WaitFor([&] { return ItemText(network, IDC_NW_RETRY) == "20"; }));
  EXPECT_EQ(ctrl_->settings.Values().RetryTime, 30) << "nothing is stored before OK";
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  for (const char* line : {"height=-14", "lyricSize=14", "rgb=12615680", "highlightrgb=65280", "backcolor=12376814",
                           "backpiclum=30", "RetryTime=20", "path0=d:\\lrc", "RightBtn=7"})
    EXPECT_TRUE(ConfHas(line)) << line << "\n" << ConfText();
  EXPECT_EQ(ctrl_->Events(), std::vector<std::string>{"ChangeConf"});
  EXPECT_EQ(ctrl_->settings.Values().font.lyricSize, 14);
}

TEST_F(SettingsTest, ChangingOnlyTheLookReportsNothing) {
  Conf(kCustomConf);
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  HWND font = VisiblePage(dialog);
  ASSERT_TRUE(font);
  Click(font, IDC_FT_BACK_NONE);
  ASSERT_TRUE(WaitFor([&] { return Checked(font, IDC_FT_BACK_NONE); }));
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_TRUE(ConfHas("bktype=3"));
  EXPECT_TRUE(ConfHas("RetryTime=30"));
  EXPECT_TRUE(ctrl_->Events().empty());
}

TEST_F(SettingsTest, RetryFieldRefusesANumberlessTextAndClampsANumber) {
  Conf("[PROXY]\r\nConType=1\r\n");
  HWND dialog = Open(SettingsPage::Network);
  ASSERT_TRUE(dialog);
  HWND network = VisiblePage(dialog);
  ASSERT_TRUE(network);
  EXPECT_TRUE(Checked(network, IDC_NW_BROWSER));
  EXPECT_FALSE(ItemEnabled(network, IDC_NW_SERVER));
  Click(network, IDC_NW_OWN);
  ASSERT_TRUE(WaitFor([&] { return ItemEnabled(network, IDC_NW_SERVER) && ItemEnabled(network, IDC_NW_PASSWORD); }));
  SetItemText(network, IDC_NW_SERVER, "proxy.lan");

  Page(dialog, 0);  // the refused field's page comes back to the front
  SetItemText(network, IDC_NW_RETRY, "12a");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return VisiblePage(dialog) == network; }));
  EXPECT_EQ(FocusOf(ui_->Id()), GetDlgItem(network, IDC_NW_RETRY));
  EXPECT_FALSE(closed_.load());
  Screenshot(dialog, "settings_network");

  SetItemText(network, IDC_NW_RETRY, "500");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_TRUE(ConfHas("RetryTime=120"));
  EXPECT_TRUE(ConfHas("ConType=2"));
  EXPECT_TRUE(ConfHas("ProxyServer=proxy.lan"));
  EXPECT_EQ(ctrl_->Events(), std::vector<std::string>{"ChangeConf"});
}

TEST_F(SettingsTest, EveryPageShowsItsTexts) {
  Conf(kCustomConf);
  CreateDirectoryA((home_.Home() + "\\face").c_str(), nullptr);
  std::ofstream(home_.Home() + "\\face\\pub.img") << "x";
  home_.WriteConfigImage("[Config]\r\nVersion=ZL_2.5.1\r\n");
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  HWND font = VisiblePage(dialog);
  EXPECT_EQ(ItemText(font, IDC_FT_BACK_GROUP), T("LyricFontBackGroup"));
  Screenshot(dialog, "settings_font");
  HWND file = Page(dialog, 1);
  EXPECT_EQ(ListRows(file, IDC_FP_FOLDERS), 1);
  EXPECT_EQ(ListCell(file, IDC_FP_FOLDERS, 0, 0), "d:\\lrc");
  Screenshot(dialog, "settings_file");
  Page(dialog, 2);
  Screenshot(dialog, "settings_network_page");
  HWND about = Page(dialog, 3);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(ItemText(about, IDC_AB_VERSION),
            "版本:V2.5.1\t\t发布日期:" + std::to_string(now.wYear) + "." + std::to_string(now.wMonth));
  EXPECT_EQ(ItemText(about, IDC_AB_FORUM), T("LyricForum"));
  Screenshot(dialog, "settings_about");
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_TRUE(ConfHas("RetryTime=30")) << "Cancel keeps the file";
}
