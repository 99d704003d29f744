// The upload dialog under Wine: the order of its checks, the request it
// hands on, and what it shows after a success and after a failure.
#include <fstream>

#include "DialogIds.h"
#include "DialogTestBase_win.h"
#include "dialogs/MenuRules.h"

using namespace dlgtest;

namespace {

class UploadTest : public DialogTest {
 protected:
  HWND Open() {
    closed_ = false;
    ui_->Post([this] {
      dialogs_->OnCommand(ui_->Window(), lyricmenu::kUploadLyric);
      closed_ = true;
    });
    return WaitForDialogCaption("UpLyricDlgTitle");
  }
  // Submits and returns the message the dialog answers with ("" for none).
  std::string Submit(HWND dialog) {
    Click(dialog, IDOK);
    const MessageBoxSeen box = AnswerMessageBox(ui_->Id(), dialog, 1500);
    if (box.seen) {
      EXPECT_EQ(box.caption, box.text);
    }
    return box.text;
  }
  std::atomic<bool> closed_{false};
};

}  // namespace

TEST_F(UploadTest, ChecksInOrderThenSendsAndClosesAfterItsNotice) {
  ctrl_->engine = std::make_shared<ZLyric>();
  dialogs_->SetEngine(ctrl_->engine);
  ctrl_->view.SetTagInfo("c:\\music\\a.mp3", "", "", "专辑");
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, IDC_UP_ALBUM), "专辑");
  EXPECT_EQ(Submit(dialog), T("SongNull"));
  SetItemText(dialog, IDC_UP_SONG, std::string(101, 's'));
  EXPECT_EQ(Submit(dialog), T("ArtistNull"));
  SetItemText(dialog, IDC_UP_ARTIST, "  ");
  EXPECT_EQ(Submit(dialog), T("ArtistNull"));
  SetItemText(dialog, IDC_UP_ARTIST, std::string(101, 'a'));
  EXPECT_EQ(Submit(dialog), T("LyricPathNull"));
  SetItemText(dialog, IDC_UP_PATH, "c:\\" + std::string(198, 'p'));
  EXPECT_EQ(Submit(dialog), T("SongTooLong"));
  SetItemText(dialog, IDC_UP_SONG, std::string(100, 's'));
  EXPECT_EQ(Submit(dialog), T("ArtistTooLong"));
  SetItemText(dialog, IDC_UP_ARTIST, "歌手");
  SetItemText(dialog, IDC_UP_ALBUM, std::string(101, 'b'));
  EXPECT_EQ(Submit(dialog), T("AlbumTooLong"));
  SetItemText(dialog, IDC_UP_ALBUM, "");
  SetItemText(dialog, IDC_UP_UPLOADER, std::string(101, 'u'));
  EXPECT_EQ(Submit(dialog), T("SubmitTooLong"));
  SetItemText(dialog, IDC_UP_UPLOADER, "我");
  SetItemText(dialog, IDC_UP_PATH, "c:\\" + std::string(198, 'p'));
  EXPECT_EQ(Submit(dialog), T("LyricPathTooLong"));
  EXPECT_EQ(uploads_.load(), 0);

  // A 100-byte song name and an empty album are accepted.
  SetItemText(dialog, IDC_UP_PATH, "c:\\lyric.lrc");
  Screenshot(dialog, "upload");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return uploads_.load() == 1; }));
  ASSERT_TRUE(WaitFor([&] { return ItemText(dialog, IDC_UP_STATUS) == T("LrcUploadSuc"); }));
  EXPECT_FALSE(ItemEnabled(dialog, IDOK));
  Screenshot(dialog, "upload_done");
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_EQ(std::string(lastUpload_.title), std::string(99, 's'));  // the record holds 99 bytes
  EXPECT_STREQ(lastUpload_.artist, "歌手");
  EXPECT_STREQ(lastUpload_.album, "");
  EXPECT_STREQ(lastUpload_.uploader, "我");
  EXPECT_STREQ(lastUpload_.lrcPath, "c:\\lyric.lrc");
}

TEST_F(UploadTest, FailureLeavesTheDialogOpenForAnotherTry) {
  ctrl_->engine = std::make_shared<ZLyric>();
  dialogs_->SetEngine(ctrl_->engine);
  ctrl_->view.SetTagInfo("c:\\music\\a.mp3", "Ti", "Ar", "");
  uploadResult_ = RESULT_FAIL;
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  SetItemText(dialog, IDC_UP_PATH, "c:\\lyric.lrc");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return ItemText(dialog, IDC_UP_STATUS) == T("LrcUploadFail"); }));
  EXPECT_TRUE(ItemEnabled(dialog, IDOK));
  Sleep(options_.timings.uploadCloseMs + 300);
  EXPECT_FALSE(closed_.load());
  uploadResult_ = RESULT_OK;
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_EQ(uploads_.load(), 2);
}

TEST_F(UploadTest, BrowseWantsALyricFileOfAtMostTenKilobytes) {
  ctrl_->engine = std::make_shared<ZLyric>();
  dialogs_->SetEngine(ctrl_->engine);
  const std::string text = WriteLyric("song.txt", "[00:01.00]x\r\n");
  const std::string big = WriteLyric("big.LRC", std::string(10241, ' '));
  const std::string fits = WriteLyric("fits.Lrc", std::string(10240, ' '));
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  auto pick = [&](const std::string& path) {
    Click(dialog, IDC_UP_BROWSE);
    HWND picker = nullptr;
    if (!WaitFor([&] { return (picker = FindDialog(ui_->Id(), "", dialog)) != nullptr; })) return false;
    HWND name = GetDlgItem(picker, 0x47C);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Click(picker, IDOK);
    return WaitFor([&] { return !IsWindow(picker); });
  };
  // The filter shows *.lrc only; a typed name still reaches the check.
  ASSERT_TRUE(pick(text));
  MessageBoxSeen box = AnswerMessageBox(ui_->Id(), dialog);
  EXPECT_EQ(box.caption, T("ChooseFileFail"));
  EXPECT_EQ(box.text, T("SelectLyricFile"));
  ASSERT_TRUE(pick(big));
  box = AnswerMessageBox(ui_->Id(), dialog);
  EXPECT_EQ(box.text, T("SubmitLittleThan10kFile"));
  EXPECT_EQ(ItemText(dialog, IDC_UP_PATH), "");
  ASSERT_TRUE(pick(fits));
  EXPECT_EQ(ItemText(dialog, IDC_UP_PATH), fits);
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
}
