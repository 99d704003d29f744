// The select-lyric dialog under Wine: the countdown, a selection stopping
// it, and the file name's length limit.
#include <cstring>

#include "DialogIds.h"
#include "DialogTestBase_win.h"
#include "shared/GbkText.h"

using namespace dlgtest;

namespace {

std::vector<SearchItem> Candidates() {
  std::vector<SearchItem> list(3);
  const char* names[3][3] = {{"歌手甲", "第一首", "小王"}, {"A2", "T2", "u2"}, {"A3", "T3", "u3"}};
  for (size_t i = 0; i < 3; ++i) {
    SearchItem& item = list[i];
    std::memset(&item, 0, sizeof item);
    zl::CopyGbkBounded(item.artist, sizeof item.artist, names[i][0]);
    zl::CopyGbkBounded(item.title, sizeof item.title, names[i][1]);
    zl::CopyGbkBounded(item.provider, sizeof item.provider, names[i][2]);
  }
  return list;
}

class SelectLyricTest : public DialogTest {
 protected:
  // Opens the dialog on the UI thread; the choice lands in index_ and name_.
  HWND Open() {
    ui_->Post([this] {
      std::string name;
      const int index = dialogs_->SelectLyric(candidates_, name);
      name_ = name;
      index_.store(index);
    });
    return WaitForDialogCaption("SelectLrcDlgTitle");
  }
  bool Closed() { return WaitFor([this] { return index_.load() != -2; }); }

  std::vector<SearchItem> candidates_ = Candidates();
  std::atomic<int> index_{-2};
  std::string name_;
};

}  // namespace

TEST_F(SelectLyricTest, CountdownCountsFourteenToZeroAndTakesTheFirst) {
  const ULONGLONG start = GetTickCount64();
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ListRows(dialog, IDC_SL_LIST), 3);
  EXPECT_EQ(ListCell(dialog, IDC_SL_LIST, 0, 1), "第一首");
  EXPECT_FALSE(ItemEnabled(dialog, IDOK));
  const std::string willBe = T("WillBe"), later = T("LaterToAutoDownload");
  std::vector<int> seen;
  while (index_.load() == -2 && GetTickCount64() - start < 15000) {
    const std::string label = ItemText(dialog, IDC_SL_COUNTDOWN);
    if (label.size() > willBe.size() + later.size() && label.compare(0, willBe.size(), willBe) == 0) {
      const int n = std::atoi(label.c_str() + willBe.size());
      if (seen.empty() || seen.back() != n) seen.push_back(n);
    }
    Sleep(10);
  }
  ASSERT_TRUE(Closed());
  EXPECT_EQ(index_.load(), 0);
  EXPECT_EQ(name_, "歌手甲-第一首.lrc");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), 14);
  EXPECT_EQ(seen.back(), 0);
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_EQ(seen[i], seen[i - 1] - 1) << "missed a step";
  // Sixteen ticks of 200 ms.
  EXPECT_GE(GetTickCount64() - start, 15u * 200u);
}

TEST_F(SelectLyricTest, SelectionStopsTheCountdownForGood) {
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(WaitFor([&] { return ItemText(dialog, IDC_SL_COUNTDOWN).find(T("WillBe")) == 0; }));
  SelectListRow(dialog, IDC_SL_LIST, 1);
  EXPECT_EQ(ItemText(dialog, IDC_SL_COUNTDOWN), "");
  EXPECT_EQ(ItemText(dialog, IDC_SL_FILENAME), "A2-T2.lrc");
  EXPECT_TRUE(ItemEnabled(dialog, IDOK));
  Screenshot(dialog, "select_lyric");
  Sleep(4 * 200);
  EXPECT_EQ(index_.load(), -2) << "the countdown went on";
  EXPECT_EQ(ItemText(dialog, IDC_SL_COUNTDOWN), "");
  Click(dialog, IDOK);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(index_.load(), 1);
  EXPECT_EQ(name_, "A2-T2.lrc");
}

TEST_F(SelectLyricTest, LongFileNameIsCutAfterTheWarning) {
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  SelectListRow(dialog, IDC_SL_LIST, 2);
  std::thread typing = SetItemTextAsync(dialog, IDC_SL_FILENAME, std::string(101, 'n'));
  const MessageBoxSeen box = AnswerMessageBox(ui_->Id(), dialog);
  typing.join();
  EXPECT_TRUE(box.seen);
  EXPECT_EQ(box.caption, T("FileNameTooLong"));
  EXPECT_EQ(box.text, T("FileNameTooLong"));
  EXPECT_EQ(ItemText(dialog, IDC_SL_FILENAME), std::string(100, 'n'));

  // A double-byte character across the limit goes whole.
  typing = SetItemTextAsync(dialog, IDC_SL_FILENAME, std::string(99, 'n') + "歌词");
  EXPECT_TRUE(AnswerMessageBox(ui_->Id(), dialog).seen);
  typing.join();
  EXPECT_EQ(ItemText(dialog, IDC_SL_FILENAME), std::string(99, 'n'));
  Click(dialog, IDOK);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(index_.load(), 2);
  EXPECT_EQ(name_, std::string(99, 'n'));
}

TEST_F(SelectLyricTest, CancelFromAnotherThreadClosesIt) {
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  dialogs_->CancelSelectLyric();
  ASSERT_TRUE(Closed());
  EXPECT_EQ(index_.load(), -1);
}
