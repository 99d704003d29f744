// The real ClipView.exe against a recording stand-in for the plug-in's mini
// window: every code of the protocol, the ignored ones, short payloads, the
// host titles, the Flash notice and the start-up steps that touch the system.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "MvTestSupport_win.h"
#include "app/Startup_win.h"
#include "mvprotocol/MvProtocol.h"

namespace {

std::string ImageFolder() {
  std::string folder = "Z:" ZL_IMAGE_DIR;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

void CopyFolder(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((from + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

bool Register(const char* dll, bool on = true) {
  HMODULE module = LoadLibraryA(mvtest::BesideMe(dll).c_str());
  if (!module) return false;
  auto call = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, on ? "DllRegisterServer" : "DllUnregisterServer")));
  const bool ok = call && SUCCEEDED(call());
  FreeLibrary(module);
  return ok;
}

// HKLM\SOFTWARE\ZOLYRIC\ZOLYRIC_HOME for the test's life.
class RegisteredHome {
 public:
  explicit RegisteredHome(const std::string& home) {
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    char old[MAX_PATH] = {};
    DWORD size = sizeof old;
    had_ = RegQueryValueExA(key_, "ZOLYRIC_HOME", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
           ERROR_SUCCESS;
    old_ = old;
    RegSetValueExA(key_, "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                   static_cast<DWORD>(home.size() + 1));
  }
  ~RegisteredHome() {
    if (had_)
      RegSetValueExA(key_, "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                     static_cast<DWORD>(old_.size() + 1));
    else
      RegDeleteValueA(key_, "ZOLYRIC_HOME");
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  bool had_ = false;
  std::string old_;
};

struct Reply {
  std::string window;
  unsigned long code;
  int value;
};

class ClipViewProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    home = mvtest::ScratchFolder("clipview_process");
    home.pop_back();
    for (const char* sub : {"\\config", "\\log", "\\face"}) CreateDirectoryA((home + sub).c_str(), nullptr);
    DeleteFileA((home + "\\config\\VideoDlgConfig.ini").c_str());
    DeleteFileA((home + "\\log\\log_clip_view.txt").c_str());
    CopyFolder(ImageFolder() + "\\face\\video", home + "\\face\\video");
    CopyFolder(ImageFolder() + "\\swf", home + "\\swf");
    registered = std::make_unique<RegisteredHome>(home);
    ASSERT_TRUE(Register("Flash.ocx"));
    for (const char* title : {"WINAMPMini", "REALMini"}) {
      minis.push_back(std::make_unique<mvtest::TestWindow>(
          title, 0, 0, 10, 10, false, [this, name = std::string(title)](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
            if (msg != WM_COPYDATA) return false;
            const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            int value = -1;
            if (copy->cbData >= 4) std::memcpy(&value, copy->lpData, 4);
            replies.push_back({name, static_cast<unsigned long>(copy->dwData), value});
            r = 0;
            return true;
          }));
    }
  }

  void TearDown() override {
    if (process) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    Register("Flash.ocx");
    minis.clear();
    registered.reset();
    OleUninitialize();
  }

  // Starts ClipView.exe and waits for the window (or the notice).
  HWND Start(const std::string& title, const char* awaited = nullptr) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + mvtest::BesideMe("ClipView.exe") + "\" " + title;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, home.c_str(), &si, &pi))
      return nullptr;
    CloseHandle(pi.hThread);
    process = pi.hProcess;
    HWND window = nullptr;
    const std::string wanted = awaited ? awaited : title;
    mvtest::PumpUntil([&] { return (window = FindWindowA(nullptr, wanted.c_str())) != nullptr; }, 20000);
    return window;
  }

  // Sends like the plug-in; false on time-out.
  bool Send(HWND window, unsigned long code, const void* data = nullptr, DWORD size = 0, DWORD_PTR* answer = nullptr) {
    COPYDATASTRUCT copy{code, size, const_cast<void*>(data)};
    DWORD_PTR result = 77;
    const bool ok = SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 10000,
                                        &result) != 0;
    if (answer) *answer = result;
    mvtest::PumpFor(100);  // let posted work and replies arrive
    return ok;
  }
  // Replies come while a send is answered, or later for what ClipView posts to itself.
  bool WaitReplies(size_t count, DWORD ms = 10000) {
    return mvtest::PumpUntil([&] { return replies.size() >= count; }, ms);
  }
  bool Ended(DWORD ms) {
    bool ended = false;
    mvtest::PumpUntil([&] { return ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, ms);
    return ended;
  }
  std::string Log() const { return mvtest::ReadFileBytes(home + "\\log\\log_clip_view.txt"); }

  std::string home;
  std::unique_ptr<RegisteredHome> registered;
  std::vector<std::unique_ptr<mvtest::TestWindow>> minis;
  std::vector<Reply> replies;
  HANDLE process = nullptr;
};

}  // namespace

TEST_F(ClipViewProcessTest, EveryCodeAndTheOnesThatMeanNothing) {
  HWND clip = Start("WinampMTV");
  ASSERT_NE(clip, nullptr);
  EXPECT_FALSE(IsWindowVisible(clip));

  DWORD_PTR answer = 77;
  EXPECT_TRUE(Send(clip, mv::WM_KEEP_ALIVE, nullptr, 0, &answer));
  EXPECT_EQ(answer, 0u);
  uint8_t request[24];
  mv::EncodeDownloadRequest({3, 3, {5, 6}, {7, 8}}, request);
  for (unsigned long code : {9ul, 10ul, 12ul, 0x7FFFFFFFul}) {
    EXPECT_TRUE(Send(clip, code, request, sizeof request, &answer));
    EXPECT_EQ(answer, 0u) << code;
  }
  const int32_t pictures = 0, video = 1;
  Send(clip, mv::WM_PLAY, &pictures, 3);      // short: nothing happens
  Send(clip, mv::WM_DOWNLOAD, request, 23);  // short
  EXPECT_TRUE(replies.empty());
  EXPECT_FALSE(IsWindowVisible(clip));
  const std::string log = Log();
  EXPECT_NE(log.find("ignored: code 9 with 24 bytes"), std::string::npos);
  EXPECT_NE(log.find("ignored: code 4 with 3 bytes"), std::string::npos);
  EXPECT_NE(log.find("ignored: code 0 with 23 bytes"), std::string::npos);

  mv::EncodeDownloadRequest({2, 3, {0, 0}, {7, 8}}, request);  // pictures only
  Send(clip, mv::WM_DOWNLOAD, request, sizeof request);
  Send(clip, mv::WM_PRE_DOWNLOAD, request, sizeof request);
  Send(clip, mv::WM_STOP_PRE_DOWNLOAD);
  Send(clip, mv::WM_PLAY, &pictures, 4);
  EXPECT_TRUE(IsWindowVisible(clip));
  ASSERT_TRUE(WaitReplies(1));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].window, "WINAMPMini");
  EXPECT_EQ(replies[0].code, mv::WM_USER_CHOICE);
  EXPECT_EQ(replies[0].value, mv::choice_pic);

  replies.clear();
  Send(clip, mv::WM_STOP);  // pictures: the player is left alone
  Send(clip, mv::WM_STOP_DOWNLOAD);
  Send(clip, mv::WM_START_NEW_SONG);
  EXPECT_TRUE(replies.empty());
  Send(clip, mv::WM_PLAY, &video, 4);  // nothing held after the new song: ask again
  ASSERT_TRUE(WaitReplies(2));
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].code, mv::WM_DOWNLOAD_P2P);
  EXPECT_EQ(replies[1].code, mv::WM_USER_CHOICE);
  EXPECT_EQ(replies[1].value, mv::choice_video);

  replies.clear();
  Send(clip, mv::WM_HIDE_WINDOW);
  ASSERT_TRUE(WaitReplies(2));
  EXPECT_FALSE(IsWindowVisible(clip));
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].code, mv::WM_PLAYER_PLAY);
  EXPECT_EQ(replies[1].code, mv::WM_USER_CHOICE);
  EXPECT_EQ(replies[1].value, mv::choice_pic);

  DWORD_PTR closing = 0;
  COPYDATASTRUCT copy{mv::WM_CLOSEWINDOW, 0, nullptr};
  EXPECT_NE(SendMessageTimeoutA(clip, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 2000, &closing), 0);
  EXPECT_TRUE(Ended(10000));
  EXPECT_NE(mvtest::ReadFileBytes(home + "\\config\\VideoDlgConfig.ini").find("NOMVSHOW"), std::string::npos);
  const std::string after = Log();
  for (const char* name : {"WM_DOWNLOAD", "WM_PRE_DOWNLOAD", "WM_STOP_DOWNLOAD", "WM_STOP_PRE_DOWNLOAD", "WM_PLAY",
                           "WM_STOP", "WM_START_NEW_SONG", "WM_HIDE_WINDOW", "WM_CLOSEWINDOW", "WM_KEEP_ALIVE"})
    EXPECT_NE(after.find(std::string("[Recieve MSG]: ") + name), std::string::npos) << name;
  EXPECT_NE(after.find("[MTV Send MSG]: SendDownloadP2PMsg"), std::string::npos);
}

TEST_F(ClipViewProcessTest, AnotherHostAnswersToRealMini) {
  HWND clip = Start("VadiZozudoVOZ");
  ASSERT_NE(clip, nullptr);
  const int32_t pictures = 0;
  Send(clip, mv::WM_PLAY, &pictures, 4);
  ASSERT_TRUE(WaitReplies(1));
  for (const Reply& r : replies) EXPECT_EQ(r.window, "REALMini");
}

TEST_F(ClipViewProcessTest, OldOrMissingFlashShowsTheNoticeInstead) {
  for (bool missing : {false, true}) {
    if (missing)
      ASSERT_TRUE(Register("Flash.ocx", false));
    else
      ASSERT_TRUE(Register("FlashOld.ocx"));
    HWND notice = Start("WinampMTV", mv::kFlashNoticeTitle);
    ASSERT_NE(notice, nullptr) << missing;
    EXPECT_EQ(FindWindowA(nullptr, "WinampMTV"), nullptr);
    // What the plug-in's SendCloseWindowMsg does: the notice goes and ClipView with it.
    PostMessageA(notice, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Ended(10000)) << missing;
    CloseHandle(process);
    process = nullptr;
  }
}

TEST(ClipViewStartup, FlashVersionOfTheRegisteredControl) {
  ASSERT_TRUE(Register("Flash.ocx"));
  EXPECT_EQ(clipview::FlashControlVersion(), "10,0,45,2");
  ASSERT_TRUE(Register("FlashOld.ocx"));
  EXPECT_EQ(clipview::FlashControlVersion(), "6.0.79.0");
  ASSERT_TRUE(Register("Flash.ocx", false));
  EXPECT_EQ(clipview::FlashControlVersion(), "");
  ASSERT_TRUE(Register("Flash.ocx"));
}

TEST(ClipViewStartup, ShareSpaceRewritesSetupThroughATemporaryFile) {
  std::string home = mvtest::ScratchFolder("sharespace");
  home.pop_back();
  const std::string setup = home + "\\setup.ini";
  SetFileAttributesA(setup.c_str(), FILE_ATTRIBUTE_NORMAL);
  mvtest::WriteFileBytes(setup, "<Setup>\r\n<MaxSpaceSize>9999</MaxSpaceSize>\r\n<Port>80</Port>\r\n</Setup>\r\n");
  ASSERT_TRUE(clipview::SetP2PShareSpace(home, ""));
  const std::string text = mvtest::ReadFileBytes(setup);
  EXPECT_EQ(text.find("9999"), std::string::npos);
  EXPECT_NE(text.find("<Port>80</Port>"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA((setup + ".new").c_str()), INVALID_FILE_ATTRIBUTES);

  // When the new text cannot be written, the file stays as it was.
  mvtest::WriteFileBytes(setup, "<MaxSpaceSize>9999</MaxSpaceSize>");
  ASSERT_TRUE(CreateDirectoryA((setup + ".new").c_str(), nullptr));  // in the way of the new text
  EXPECT_FALSE(clipview::SetP2PShareSpace(home, ""));
  EXPECT_EQ(mvtest::ReadFileBytes(setup), "<MaxSpaceSize>9999</MaxSpaceSize>");
  RemoveDirectoryA((setup + ".new").c_str());
}
