// The answers to the player messages, against a known playlist and clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PlayerMessages.h"
#include "PlayerModel.h"

using namespace playerhost;

namespace {

struct ModelFixture : testing::Test {
  int64_t now = 5000;
  PlayerModel model{[this] { return now; }, 180};

  void SetUp() override {
    model.Clock().Append({"C:\\m\\one.mp3", "One", 100});
    model.Clock().Append({"C:\\m\\two.mp3", "Two", 200});
  }
  intptr_t Ipc(intptr_t code, uintptr_t wParam = 0) { return model.AnswerUser(wParam, code); }
  std::string Name(uintptr_t index) {
    const auto* p = reinterpret_cast<const char*>(Ipc(211, index));
    return p ? std::string(p) : std::string("<null>");
  }
};

}  // namespace

TEST_F(ModelFixture, StatusPositionLengthAndListQueries) {
  EXPECT_EQ(Ipc(104), 0);
  EXPECT_EQ(Ipc(105, 0), -1);
  EXPECT_EQ(Ipc(105, 1), 100);
  EXPECT_EQ(Ipc(124), 2);
  EXPECT_EQ(Ipc(125), 0);
  EXPECT_TRUE(model.Command(40045));
  now += 2345;
  EXPECT_EQ(Ipc(104), 1);
  EXPECT_EQ(Ipc(105, 0), 2345);
  EXPECT_TRUE(model.Command(40046));
  EXPECT_EQ(Ipc(104), 3);
  EXPECT_TRUE(model.Command(40048));
  EXPECT_EQ(Ipc(125), 1);
  EXPECT_EQ(Ipc(105, 1), 200);
  EXPECT_EQ(Name(0), "C:\\m\\one.mp3");
  EXPECT_EQ(Name(1), "C:\\m\\two.mp3");
  EXPECT_EQ(Name(2), "<null>");
  EXPECT_EQ(Ipc(999), 0);
  EXPECT_FALSE(model.Command(40001));  // the window glue closes the player
}

TEST_F(ModelFixture, JumpToTimeAndButtons) {
  EXPECT_EQ(Ipc(106, 1000), -1);  // stopped
  model.Command(40045);
  EXPECT_EQ(Ipc(106, 42000), 0);
  EXPECT_EQ(Ipc(105, 0), 42000);
  EXPECT_EQ(Ipc(106, 100000), 1);  // at the end: the next song
  EXPECT_EQ(Ipc(125), 1);
  model.Command(40044);
  EXPECT_EQ(Ipc(125), 0);
  model.Command(40047);
  EXPECT_EQ(Ipc(104), 0);
}

TEST_F(ModelFixture, FileNameAnswersOutliveAClearedList) {
  const auto* p = reinterpret_cast<const char*>(Ipc(211, 1));
  ASSERT_NE(p, nullptr);
  Ipc(101);
  EXPECT_STREQ(p, "C:\\m\\two.mp3");
  EXPECT_EQ(Ipc(124), 0);
  EXPECT_EQ(Ipc(105, 1), -1);
  EXPECT_EQ(Name(0), "<null>");
}

TEST_F(ModelFixture, EnqueueTriples) {
  model.Command(40045);
  Ipc(101);
  EXPECT_EQ(Ipc(104), 0);  // clearing stops
  EnqueueFileRecord rec{"D:\\new\\Song.mp3", nullptr, 0};
  EXPECT_EQ(Ipc(100, reinterpret_cast<uintptr_t>(&rec)), 1);
  EnqueueFileRecord titled{"D:\\new\\x.wma", "Given", 77};
  EXPECT_EQ(Ipc(100, reinterpret_cast<uintptr_t>(&titled)), 1);
  EnqueueFileRecord empty{"", nullptr, 0};
  EXPECT_EQ(Ipc(100, reinterpret_cast<uintptr_t>(&empty)), 0);
  EXPECT_EQ(Ipc(100, 0), 0);
  EXPECT_EQ(Ipc(247), 0);
  ASSERT_EQ(Ipc(124), 2);
  EXPECT_EQ(model.Clock().Entries()[0].title, "Song");
  EXPECT_EQ(model.Clock().Entries()[0].lengthSec, 180);
  EXPECT_EQ(model.Clock().Entries()[1].title, "Given");
  EXPECT_EQ(model.Clock().Entries()[1].lengthSec, 77);

  // Every call is on record, in order.
  ASSERT_GE(model.Calls().size(), 6u);
  const auto& calls = model.Calls();
  EXPECT_EQ(calls.front().kind, ReceivedCall::Command);
  EXPECT_EQ(calls.front().wParam, 40045u);
  EXPECT_EQ(calls[1].lParam, 101);
  EXPECT_EQ(calls[calls.size() - 2].lParam, 247);
  EXPECT_EQ(calls.back().lParam, 124);
}

TEST_F(ModelFixture, SkinNameAndModernMainWindow) {
  char buffer[kSkinNameBufferSize];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(Ipc(201, reinterpret_cast<uintptr_t>(buffer)), 0);  // empty name
  EXPECT_EQ(buffer[0], '\0');

  model.SetSkinName("Winamp Modern Big");
  EXPECT_EQ(Ipc(201, reinterpret_cast<uintptr_t>(buffer)), reinterpret_cast<intptr_t>(buffer));
  EXPECT_STREQ(buffer, "Winamp Modern Big");
  EXPECT_EQ(Ipc(2004, 0x1234), 0);  // no modern window yet
  model.SetModernWindow(0x1234);
  EXPECT_EQ(Ipc(2004, 0x1234), 1);
  EXPECT_EQ(Ipc(2004, 0x9999), 0);
  model.SetSkinName("Winamp Classic");
  EXPECT_EQ(Ipc(2004, 0x1234), 0);

  // A name longer than the buffer is cut and terminated inside it.
  model.SetSkinName(std::string(400, 'k'));
  std::memset(buffer, 'x', sizeof buffer);
  Ipc(201, reinterpret_cast<uintptr_t>(buffer));
  EXPECT_EQ(std::strlen(buffer), kSkinNameBufferSize - 1);
  // A double-byte character that would not fit whole is left out whole.
  model.SetSkinName(std::string(kSkinNameBufferSize - 2, 'k') + "\xC4\xE3");
  Ipc(201, reinterpret_cast<uintptr_t>(buffer));
  EXPECT_EQ(std::strlen(buffer), kSkinNameBufferSize - 2);
  EXPECT_EQ(Ipc(201, 0), 0);
}

TEST_F(ModelFixture, MainWindowTitle) {
  EXPECT_EQ(model.MainWindowTitle(), "One - Winamp");
  model.Command(40048);
  EXPECT_EQ(model.MainWindowTitle(), "Two - Winamp");
  Ipc(101);
  EXPECT_EQ(model.MainWindowTitle(), "Winamp");
}
