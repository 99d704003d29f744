// The usage-event client every deliverable uses, against the real service.
#include <gtest/gtest.h>
#include <windows.h>

#include "LogSvrTestBase_win.h"
#include "shared/LogEventClient.h"

TEST_F(LogSvrTest, ClientPostsOneEventThroughTheService) {
  StartServer();
  EXPECT_TRUE(PostLogEvent("LYRIC", "WINAMP", "OFTEN", "O:<StartUp>", kLogEventWaitForever));
  EXPECT_EQ(Slurp(events_), "2%09<SRC:2.1.0|ACT:OFTEN|S:WINAMP|O:<StartUp>{second line}|U:123>\n");
}

TEST_F(LogSvrTest, ClientWithoutWaitReturnsAtOnceAndTheEventStillArrives) {
  StartServer();
  EXPECT_TRUE(PostLogEvent("LYRIC", "WINAMP", "OFTEN", "later", kLogEventNoWait));
  const DWORD deadline = GetTickCount() + 15000;
  while (Slurp(events_).empty() && GetTickCount() < deadline) Sleep(50);
  EXPECT_EQ(Slurp(events_), "2%09<SRC:2.1.0|ACT:OFTEN|S:WINAMP|later{second line}|U:123>\n");
}

TEST_F(LogSvrTest, ClientGivesUpAfterItsLimit) {
  StartServer("--hang");
  const DWORD start = GetTickCount();
  EXPECT_FALSE(PostLogEvent("LYRIC", "WINAMP", "OFTEN", "x", 500));
  EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST_F(LogSvrTest, ClientDropsTheEventWhenTheServiceIsMissing) {
  StartServer();
  ASSERT_EQ(Regsvr32("/u /s \"" + DllPath() + "\""), 0);
  EXPECT_TRUE(PostLogEvent("LYRIC", "WINAMP", "OFTEN", "x", kLogEventWaitForever));
  EXPECT_EQ(Slurp(events_), "");
}
