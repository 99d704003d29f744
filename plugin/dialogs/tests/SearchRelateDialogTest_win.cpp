// The search-and-relate dialog under Wine against the lyric-server
// stand-in: input checks, the result list, the two notices, and linking a
// local file through the open-file dialog.
#include <fstream>

#include "ChildProcess_win.h"
#include "DialogIds.h"
#include "DialogTestBase_win.h"
#include "dialogs/MenuRules.h"

using namespace dlgtest;
using testsupport::ChildProcess;

namespace {

const char kLyric[] = "[ti:Ti]\r\n[ar:Ar]\r\n[00:01.00]第一句\r\n[00:02.00]第二句\r\n";

class SearchRelateTest : public DialogTest {
 protected:
  SearchRelateTest() {
    library_ = home_.Home() + "\\library";
    queries_ = home_.Home() + "\\queries.txt";
    CreateDirectoryA(library_.c_str(), nullptr);
    std::ofstream(home_.Home() + "\\conf.ini") << "[CONFIG]\r\nRetryTime=5\r\n[PROXY]\r\nConType=0\r\n";
    ctrl_->view.SetTagInfo("c:\\music\\song.mp3", "Ti", "Ar", "");
  }
  ~SearchRelateTest() override { server_.Kill(); }

  void StartServer() {
    ASSERT_TRUE(testsupport::StartServer(server_, "lyricserver.exe",
                                         "--library \"" + library_ + "\" --queries \"" + queries_ + "\"", port_));
    PointEngineAt(port_);
  }
  // The configuration image names the server; the engine is made after it.
  void PointEngineAt(int port) {
    home_.WriteConfigImage("[LyricServer]\r\nlyricsvr=http://127.0.0.1:" + std::to_string(port) +
                           "/lyric\r\n[Config]\r\nVersion=ZL_1.0\r\n");
    ctrl_->engine = std::make_shared<ZLyric>();
    dialogs_->SetEngine(ctrl_->engine);
  }
  size_t Queries() const {
    std::ifstream in(queries_);
    size_t lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
  }
  HWND Open() {
    closed_ = false;
    ui_->Post([this] {
      dialogs_->OnCommand(ui_->Window(), lyricmenu::kSearchRelate);
      closed_ = true;
    });
    return WaitForDialogCaption("SearchAndRelateLrc");
  }
  // Picks a file in the open-file dialog the "LocalSearch" button opens.
  bool PickFile(HWND dialog, const std::string& path) {
    Click(dialog, IDC_SR_LOCAL);
    HWND picker = nullptr;
    if (!WaitFor([&] { return (picker = FindDialog(ui_->Id(), "", dialog)) != nullptr; })) return false;
    HWND name = GetDlgItem(picker, 0x47C);  // the file name box of the explorer-style dialog
    if (!name) name = GetDlgItem(picker, 0x480);
    if (!name) return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Click(picker, IDOK);
    return WaitFor([&] { return !IsWindow(picker); });
  }

  std::string library_, queries_;
  ChildProcess server_;
  int port_ = 0;
  std::atomic<bool> closed_{false};
};

}  // namespace

TEST_F(SearchRelateTest, EmptyFieldsAskForInputAndCallNoServerThenAListComes) {
  std::ofstream(library_ + "\\Ar-Ti.lrc", std::ios::binary) << kLyric;
  StartServer();
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, IDC_SR_SONG), "Ti");
  EXPECT_EQ(ItemText(dialog, IDC_SR_ARTIST), "Ar");
  SetItemText(dialog, IDC_SR_SONG, "  ");
  SetItemText(dialog, IDC_SR_ARTIST, "");
  Click(dialog, IDC_SR_SEARCH);
  const MessageBoxSeen box = AnswerMessageBox(ui_->Id(), dialog);
  EXPECT_TRUE(box.seen);
  EXPECT_EQ(box.text, T("PleaseInputSearchOption"));
  EXPECT_EQ(box.caption, T("PleaseInputSearchOption"));
  EXPECT_EQ(Queries(), 0u);

  SetItemText(dialog, IDC_SR_SONG, " Ti ");
  SetItemText(dialog, IDC_SR_ARTIST, "Ar");
  Click(dialog, IDC_SR_SEARCH);
  ASSERT_TRUE(WaitFor([&] { return ListRows(dialog, IDC_SR_LIST) == 1; }));
  EXPECT_EQ(ListCell(dialog, IDC_SR_LIST, 0, 0), "Ar-Ti.lrc");
  EXPECT_EQ(ListCell(dialog, IDC_SR_LIST, 0, 1), "standin");
  EXPECT_TRUE(ItemEnabled(dialog, IDOK));
  EXPECT_FALSE(ItemVisible(dialog, IDC_SR_NOTICE_NET) || ItemVisible(dialog, IDC_SR_NOTICE_NONE));
  EXPECT_EQ(Queries(), 1u);
  SelectListRow(dialog, IDC_SR_LIST, 0);
  Screenshot(dialog, "search_relate");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  const std::vector<SearchItem> chosen = ctrl_->Chosen();
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_STREQ(chosen[0].artist, "Ar");
  EXPECT_STREQ(chosen[0].title, "Ti");
}

TEST_F(SearchRelateTest, FailedSearchShowsItsNoticeInsteadOfTheList) {
  PointEngineAt(1);  // nothing listens there
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  Click(dialog, IDC_SR_SEARCH);
  ASSERT_TRUE(WaitFor([&] { return ItemVisible(dialog, IDC_SR_NOTICE_NET); }, 30000));
  EXPECT_FALSE(ItemVisible(dialog, IDC_SR_LIST));
  EXPECT_FALSE(ItemEnabled(dialog, IDOK));
  EXPECT_EQ(ItemText(dialog, IDC_SR_NOTICE_NET), T("SearchNetworkFailed"));
  EXPECT_FALSE(FindDialog(ui_->Id(), "", dialog)) << "a failed search shows no message box";
  Screenshot(dialog, "search_relate_failed");
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));

  StartServer();  // an empty library: the server knows nothing
  dialog = Open();
  ASSERT_TRUE(dialog);
  Click(dialog, IDC_SR_SEARCH);
  ASSERT_TRUE(WaitFor([&] { return ItemVisible(dialog, IDC_SR_NOTICE_NONE); }));
  EXPECT_FALSE(ItemVisible(dialog, IDC_SR_NOTICE_NET));
  EXPECT_FALSE(ItemVisible(dialog, IDC_SR_LIST));
  EXPECT_FALSE(ItemEnabled(dialog, IDOK));
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_TRUE(ctrl_->Chosen().empty());
}

TEST_F(SearchRelateTest, LocalFileOfTenKilobytesIsLinkedOneByteMoreIsRefused) {
  PointEngineAt(1);
  std::string lyric = kLyric;
  const std::string exact = lyric + std::string(10240 - lyric.size(), ' ');
  const std::string over = exact + " ";
  const std::string exactPath = WriteLyric("exact.lrc", exact);
  const std::string overPath = WriteLyric("over.lrc", over);
  HWND dialog = Open();
  ASSERT_TRUE(dialog);

  ASSERT_TRUE(PickFile(dialog, overPath));
  const MessageBoxSeen refused = AnswerMessageBox(ui_->Id(), dialog);
  EXPECT_TRUE(refused.seen);
  EXPECT_EQ(refused.caption, T("ChooseFileFail"));
  EXPECT_EQ(refused.text, T("SubmitLittleThan10kFile"));
  EXPECT_FALSE(closed_.load());
  EXPECT_TRUE(ViewStartTimes().empty());

  ASSERT_TRUE(PickFile(dialog, exactPath));
  ASSERT_TRUE(WaitFor([&] { return closed_.load(); }));
  EXPECT_EQ(ViewStartTimes(), (std::vector<int>{1000, 2000}));
  EXPECT_EQ(ctrl_->view.Status(), LyricViewStatus::LyricReady);
  const LyricMessage message = ctrl_->view.Message();
  EXPECT_STREQ(message.text, "若歌词有误，点击此处搜索");
  EXPECT_EQ(message.isLink, 1);
  EXPECT_EQ(message.code, 6);
}
