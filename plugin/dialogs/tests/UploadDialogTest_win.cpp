// The upload dialog under Wine: the order of its checks, the request it
// hands on, and what it shows after a success and after a failure.
#include <fstream>

#include "ChildProcess_win.h"
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

// The engine's own upload, through the event-log service to the log-server
// stand-in.
class UploadToLogServerTest : public UploadTest {
 protected:
  void SetUp() override {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    msgSet_ = std::string(system) + "\\zl_dialogs_msgset.img";
    userFile_ = std::string(system) + "\\zl_dialogs_user.dat";
    std::ofstream(msgSet_, std::ios::binary)
        << "[LogMsg]\r\nMsgNum=1\r\nMsgName0=UPLOADLRC\r\nMsgInterval0=0\r\nMsgDailyTimes0=100\r\n";
    std::ofstream(userFile_, std::ios::binary) << "123\r\nsecond\r\n";
    testsupport::ChildProcess regsvr;
    ASSERT_TRUE(regsvr.Start("\"" + std::string(system) + "\\regsvr32.exe\" /s \"" +
                                 testsupport::BesideMe("ZoLogSvr.dll") + "\"",
                             false));
    ASSERT_TRUE(regsvr.Wait(30000));
    events_ = home_.Home() + "\\events.txt";
    int port = 0;
    ASSERT_TRUE(testsupport::StartServer(server_, "logserver.exe", "--out \"" + events_ + "\"", port));
    home_.WriteConfigImage("[Config]\r\nVersion=ZL_1.0\r\nuserfile=zl_dialogs_user.dat\r\nmsgset=zl_dialogs_msgset\r\n"
                           "[LogServer]\r\nlogsvr=http://127.0.0.1:" + std::to_string(port) + "\r\n");
    // The real upload replaces the recording one.
    DialogOptions real = options_;
    real.upload = &UploadWithEngine;
    dialogs_ = MakeLyricDialogs(real);
    dialogs_->Attach(ctrl_.get());
    ctrl_->dialogs = dialogs_.get();
    ctrl_->engine = std::make_shared<ZLyric>();
    dialogs_->SetEngine(ctrl_->engine);
    ctrl_->view.SetTagInfo("c:\\music\\a.mp3", "Ti", "Ar", "Al");
  }
  void TearDown() override {
    server_.Kill();
    DeleteFileA(msgSet_.c_str());
    DeleteFileA(userFile_.c_str());
  }
  std::string Events() { return ReadFile(events_); }

  testsupport::ChildProcess server_;
  std::string msgSet_, userFile_, events_;
};

TEST_F(UploadToLogServerTest, SentFileReachesTheLogServerAndAnOversizedOneFails) {
  const std::string big = WriteLyric("big.lrc", std::string(10001, 'x'));
  const std::string good = WriteLyric("good.lrc", "[00:01.00]line\r\n");
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  SetItemText(dialog, IDC_UP_PATH, big);
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return ItemText(dialog, IDC_UP_STATUS) == T("LrcUploadFail"); }));
  EXPECT_TRUE(ItemEnabled(dialog, IDOK));

  SetItemText(dialog, IDC_UP_PATH, good);
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  ASSERT_TRUE(WaitFor([&] { return Events().find("UPLOADLRC") != std::string::npos; }, 20000)) << Events();
  EXPECT_NE(Events().find("S:Ti|AR:Ar|AL:Al|UPLOADER:|C:[00:01.00]line%0D%0A"), std::string::npos) << Events();
  EXPECT_EQ(Events().find("xxxxxxxx"), std::string::npos);
}
