// The context menu and the commands without a dialog of their own, and the
// recognition result, under Wine.
#include <cwchar>

#include "DialogIds.h"
#include "DialogTestBase_win.h"
#include "dialogs/MenuRules.h"

using namespace dlgtest;
using namespace lyricmenu;

namespace {

const char kLyric[] = "[ti:Ti]\r\n[ar:Ar]\r\n[00:03.00]第一句\r\n[00:05.00]第二句\r\n";

class MenuCommandTest : public DialogTest {
 protected:
  void Command(unsigned id) {
    ASSERT_TRUE(ui_->Call([this, id] { dialogs_->OnCommand(ui_->Window(), id); }));
  }
  static UINT StateOf(HMENU menu, unsigned id) { return GetMenuState(menu, id, MF_BYCOMMAND); }
};

}  // namespace

TEST_F(MenuCommandTest, MenuShowsTheSettingsAndWhatTheSongOffers) {
  ctrl_->settings.Modify([](zl::LyricSettings& s) {
    s.font.IsKalaOk = true;
    s.font.lyricSize = 25;
    s.font.bktype = 2;
  });
  ui_->Post([this] { dialogs_->ShowContextMenu(ui_->Window(), POINT{120, 120}); });
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = FindPopupMenu(ui_->Id())) != nullptr; }));
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  ASSERT_TRUE(menu);
  EXPECT_TRUE(StateOf(menu, kKaraoke) & MF_CHECKED);
  EXPECT_TRUE(StateOf(menu, kWheelAdjust) & MF_CHECKED);
  EXPECT_TRUE(StateOf(menu, kSizeLarge) & MF_CHECKED);
  EXPECT_TRUE(StateOf(menu, kOtherBackground) & MF_CHECKED);
  EXPECT_FALSE(StateOf(menu, kSingerPicture) & MF_CHECKED);
  // No song yet: the lyric items and the MV items are greyed.
  for (unsigned id : {kSearchRelate, kReloadLyric, kUploadLyric, kSongMv, kStarPictures})
    EXPECT_TRUE(StateOf(menu, id) & MF_GRAYED) << id;
  EXPECT_FALSE(StateOf(menu, kCopyLyric) & MF_GRAYED);
  char caption[64] = {};
  GetMenuStringA(menu, kSearchRelate, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "搜索并关联歌词");
  Screenshot(popup, "context_menu");
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitFor([&] { return !FindPopupMenu(ui_->Id()) && ui_->Idle(); }));
}

TEST_F(MenuCommandTest, MiniWindowMenuSaysNormalMode) {
  ctrl_->windows.mini = ui_->Window();
  ui_->Post([this] { dialogs_->ShowContextMenu(ui_->Window(), POINT{120, 120}); });
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = FindPopupMenu(ui_->Id())) != nullptr; }));
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  char caption[64] = {};
  GetMenuStringA(menu, kMiniMode, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "普通模式");
  EXPECT_EQ(GetMenuState(menu, kSongMv, MF_BYCOMMAND), static_cast<UINT>(-1)) << "no MV item in the mini menu";
  Screenshot(popup, "context_menu_mini");
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitFor([&] { return !FindPopupMenu(ui_->Id()) && ui_->Idle(); }));
}

TEST_F(MenuCommandTest, CopyPutsTheLyricOnTheClipboardAsTextAndUnicode) {
  ShowLinkedLyric(WriteLyric("song.lrc", kLyric));
  Command(kCopyLyric);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE unicode = GetClipboardData(CF_UNICODETEXT);
  HANDLE text = GetClipboardData(CF_TEXT);
  std::wstring wide = unicode ? static_cast<const wchar_t*>(GlobalLock(unicode)) : L"";
  std::string narrow = text ? static_cast<const char*>(GlobalLock(text)) : "";
  if (unicode) GlobalUnlock(unicode);
  if (text) GlobalUnlock(text);
  CloseClipboard();
  EXPECT_EQ(wide, L"\u7B2C\u4E00\u53E5\r\n\u7B2C\u4E8C\u53E5\r\n");  // 第一句 第二句
  EXPECT_EQ(narrow, "第一句\r\n第二句\r\n");
}

TEST_F(MenuCommandTest, ShiftsRevokeAndSettingCommands) {
  ShowLinkedLyric(WriteLyric("song.lrc", kLyric));
  Command(kAdjustEarlier);
  Command(kAdjustEarlier);
  Command(kAdjustLater);
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{2500, 4500}));
  Command(kSizeMedium);
  EXPECT_EQ(ctrl_->settings.Values().font.lyricSize, 18);
  EXPECT_EQ(ctrl_->settings.Values().font.height, 18);
  Command(kReloadLyric);
  EXPECT_EQ(ctrl_->reloads.load(), 1);
  ctrl_->view.SetTagInfo("c:\\a.mp3", "Ti", "Ar", "");
  Command(kRevokeLyric);
  EXPECT_TRUE(ViewStartTimes().empty());
  const LyricMessage message = ctrl_->view.Message();
  EXPECT_STREQ(message.text, "Ar-Ti");
  EXPECT_EQ(message.code, 9);
  // Nothing shown, nothing shifted.
  Command(kAdjustLater);
  EXPECT_TRUE(ViewStartTimes().empty());
}

TEST_F(MenuCommandTest, RecognitionResultEditedAndAnswered) {
  ctrl_->engine = std::make_shared<ZLyric>();
  dialogs_->SetEngine(ctrl_->engine);
  std::snprintf(ctrl_->advice.recTitle, sizeof ctrl_->advice.recTitle, "%s", "识别歌名");
  std::snprintf(ctrl_->advice.recArtist, sizeof ctrl_->advice.recArtist, "%s", "识别歌手");
  ctrl_->advice.bUpdate = 1;
  std::atomic<bool> closed{false};
  ui_->Post([&] {
    dialogs_->OnMessageClick(8);
    closed = true;
  });
  HWND dialog = WaitForDialogCaption("RecognitionResult");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, IDC_RC_TITLE), "识别歌名");
  SetItemText(dialog, IDC_RC_TITLE, " 改过的歌名 ");
  Click(dialog, IDC_RC_AUTO);
  ASSERT_TRUE(WaitFor([&] { return Checked(dialog, IDC_RC_AUTO); }));
  Screenshot(dialog, "recognition_result");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed.load(); }));
  EXPECT_TRUE(ctrl_->answered.load());
  EXPECT_STREQ(ctrl_->answer.recTitle, "改过的歌名");
  EXPECT_STREQ(ctrl_->answer.recArtist, "识别歌手");
  EXPECT_TRUE(ctrl_->settings.Values().autofprecognise);
  const LyricMessage message = ctrl_->view.Message();
  EXPECT_STREQ(message.text, "识别歌手-改过的歌名,欢迎上传歌词");
  EXPECT_EQ(message.code, 9);
  EXPECT_EQ(message.isLink, 1);
}
