// Shifting the lyric's timing under Wine: the adjust-time dialog's input
// rules, and the mouse wheel with its confirmation.
#include "DialogIds.h"
#include "DialogTestBase_win.h"
#include "dialogs/MenuRules.h"

using namespace dlgtest;

namespace {

const char kLyric[] = "[ti:Ti]\r\n[ar:Ar]\r\n[00:03.00]第一句\r\n[00:05.00]第二句\r\n";

class TimingTest : public DialogTest {
 protected:
  TimingTest() { ShowLinkedLyric(WriteLyric("song.lrc", kLyric)); }
  void Wheel(int delta) {
    const WPARAM wParam = static_cast<WPARAM>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16;
    ASSERT_TRUE(ui_->Call([this, wParam] { dialogs_->OnMouseWheel(ui_->Window(), wParam); }));
  }
  std::atomic<bool> closed_{false};
};

}  // namespace

TEST_F(TimingTest, AdjustTimeFieldRulesAndTheShiftApplied) {
  ui_->Post([this] {
    dialogs_->OnCommand(ui_->Window(), lyricmenu::kAdjustAll);
    closed_ = true;
  });
  HWND dialog = WaitForDialogCaption("AdjustTime");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, IDC_AT_VALUE), "0");
  SetItemText(dialog, IDC_AT_VALUE, "-10001");
  EXPECT_EQ(ItemText(dialog, IDC_AT_VALUE), "-10000");
  EXPECT_FALSE(FindDialog(ui_->Id(), "", dialog));

  std::thread typing = SetItemTextAsync(dialog, IDC_AT_VALUE, "12a");
  MessageBoxSeen box = AnswerMessageBox(ui_->Id(), dialog);
  typing.join();
  EXPECT_EQ(box.caption, T("Warning"));
  EXPECT_EQ(box.text, T("InputDataInvalidate"));
  EXPECT_EQ(ItemText(dialog, IDC_AT_VALUE), "-10000");

  typing = SetItemTextAsync(dialog, IDC_AT_VALUE, "1234567");
  box = AnswerMessageBox(ui_->Id(), dialog);
  typing.join();
  EXPECT_EQ(box.caption, T("Warning"));
  EXPECT_EQ(box.text, T("InputDataTooLong"));
  EXPECT_EQ(ItemText(dialog, IDC_AT_VALUE), "-10000");

  SetItemText(dialog, IDC_AT_VALUE, "-500");
  Screenshot(dialog, "adjust_time");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{2500, 4500}));
  // The linked file is rewritten with the shifted times.
  EXPECT_NE(ReadFile(home_.Home() + "\\song.lrc").find("[00:02.50]"), std::string::npos);
}

TEST_F(TimingTest, WheelNotchTowardsTheUserThenCancelRestoresTheTimes) {
  Wheel(-120);
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{1800, 3800}));
  Wheel(-120);
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{600, 2600}));
  EXPECT_EQ(ctrl_->settings.Values().haswheel, 1);
  HWND dialog = WaitForDialogCaption("AmbrelLyric");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, IDC_WC_TEXT), T("YouJustAdjustLyricWithWheel"));
  Screenshot(dialog, "wheel_confirm");
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && ui_->Idle(); }));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{3000, 5000}));
  EXPECT_FALSE(ctrl_->settings.Values().wheelTip);
}

TEST_F(TimingTest, WheelKeptAndNotAskedAgain) {
  Wheel(120);
  HWND dialog = WaitForDialogCaption("AmbrelLyric");
  ASSERT_TRUE(dialog);
  Click(dialog, IDC_WC_NOT_AGAIN);
  ASSERT_TRUE(WaitFor([&] { return Checked(dialog, IDC_WC_NOT_AGAIN); }));
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && ui_->Idle(); }));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{4200, 6200}));
  EXPECT_TRUE(ctrl_->settings.Values().wheelTip);
  EXPECT_NE(ReadFile(home_.Home() + "\\conf.ini").find("wheelTip=1"), std::string::npos);
  // No confirmation any more.
  Wheel(120);
  Sleep(3 * options_.timings.wheelConfirmMs);
  EXPECT_FALSE(FindDialog(ui_->Id()));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{5400, 7400}));
}

TEST_F(TimingTest, CancelAfterASongChangeLeavesTheNewLyricAlone) {
  Wheel(-120);
  HWND dialog = WaitForDialogCaption("AmbrelLyric");
  ASSERT_TRUE(dialog);
  // The song changes while the confirmation is open: the controller drops
  // the engine and cancels the confirmation.
  ShowLinkedLyric(WriteLyric("next.lrc", kLyric));
  dialogs_->CancelConfirmations();
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && ui_->Idle(); }));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{3000, 5000}));
}

TEST_F(TimingTest, WheelDoesNothingWithoutALyricOrWhenSwitchedOff) {
  ctrl_->settings.Modify([](zl::LyricSettings& s) { s.enableWheel = 0; });
  Wheel(-120);
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{3000, 5000}));
  ctrl_->settings.Modify([](zl::LyricSettings& s) { s.enableWheel = 1; });
  ctrl_->view.SetStatus(LyricViewStatus::NoLyricFound);
  Wheel(-120);
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{3000, 5000}));
  Sleep(3 * options_.timings.wheelConfirmMs);
  EXPECT_FALSE(FindDialog(ui_->Id()));
}

TEST_F(TimingTest, MiniWindowDefersTheConfirmationAndKeepsTheShift) {
  ctrl_->windows.miniShown = true;
  Wheel(-120);
  Sleep(3 * options_.timings.wheelConfirmMs);
  EXPECT_FALSE(FindDialog(ui_->Id()));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{1800, 3800}));
  ctrl_->windows.miniShown = false;
  Wheel(-120);
  HWND dialog = WaitForDialogCaption("AmbrelLyric");
  ASSERT_TRUE(dialog);
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && ui_->Idle(); }));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{3000, 5000})) << "both shifts undone";
}
