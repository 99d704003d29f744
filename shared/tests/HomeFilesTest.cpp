// The files the install home helpers read: pub.img's age, the user file in
// the system folder, and the host player's name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "WinTestSupport.h"
#include "shared/ConfigRules.h"
#include "shared/InstallHome.h"
#include "shared/Ownership.h"

using namespace zltest;

namespace {

SYSTEMTIME LocalNoonPlusDays(int days) {
  SYSTEMTIME today;
  GetLocalTime(&today);
  today.wHour = 12;
  today.wMinute = today.wSecond = today.wMilliseconds = 0;
  FILETIME ft;
  SystemTimeToFileTime(&today, &ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  t.QuadPart += static_cast<LONGLONG>(days) * 864000000000LL;
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  SYSTEMTIME st;
  FileTimeToSystemTime(&ft, &st);
  return st;
}

zl::CalendarDate DateOf(const SYSTEMTIME& st) { return {st.wYear, st.wMonth, st.wDay}; }

// A calendar day whose age by the 30-day-month rule is `age` (or, for a
// negative age, any day in the future with a negative age). False on the
// rare days the rule skips that age.
bool DayWithAge(int age, SYSTEMTIME& day) {
  const zl::CalendarDate today = DateOf(LocalNoonPlusDays(0));
  for (int offset = 0; offset <= 62; ++offset) {
    day = LocalNoonPlusDays(age < 0 ? offset + 1 : -offset);
    const int ruleAge = zl::PublishAgeDays(DateOf(day), today);
    if (age < 0 ? ruleAge < 0 : ruleAge == age) return true;
  }
  return false;
}

class PublishAge : public ::testing::Test {
 protected:
  std::string PubImg() const { return home_.Home() + "\\face\\pub.img"; }
  // Writes pub.img with its last-write time on `day` (the fields as UTC).
  void WritePubImg(const SYSTEMTIME& day) const {
    WriteWholeFile(PubImg(), "pub");
    zl::UniqueHandle file(CreateFileA(PubImg().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&day, &ft));
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &ft));
  }
  ScopedInstallHome home_;
};

}  // namespace

TEST_F(PublishAge, TenDaysIsRecentElevenIsNot) {
  SYSTEMTIME day;
  ASSERT_TRUE(DayWithAge(0, day));
  WritePubImg(day);
  EXPECT_TRUE(IsRecentPublish());
  if (!DayWithAge(10, day)) GTEST_SKIP() << "no calendar day has age 10 today";
  WritePubImg(day);
  EXPECT_TRUE(IsRecentPublish());
  if (!DayWithAge(11, day)) GTEST_SKIP() << "no calendar day has age 11 today";
  WritePubImg(day);
  EXPECT_FALSE(IsRecentPublish());
}

TEST_F(PublishAge, FutureOrMissingFileIsNotRecent) {
  SYSTEMTIME day;
  ASSERT_TRUE(DayWithAge(-1, day));
  WritePubImg(day);
  EXPECT_FALSE(IsRecentPublish());
  DeleteFileA(PubImg().c_str());
  EXPECT_FALSE(IsRecentPublish());
}

TEST_F(PublishAge, OpenForWritingByAnotherProgramStillCounts) {
  SYSTEMTIME day;
  ASSERT_TRUE(DayWithAge(0, day));
  WritePubImg(day);
  zl::UniqueHandle writer(CreateFileA(PubImg().c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      0, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_TRUE(IsRecentPublish());
}

namespace {

class UserFile : public ::testing::Test {
 protected:
  UserFile() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    name_ = "zl_test_user_" + std::to_string(GetCurrentProcessId()) + ".dat";
    path_ = std::string(system) + "\\" + name_;
    home_.WriteConfigImage("[Config]\r\nuserfile=" + name_ + "\r\n");
  }
  ~UserFile() override { DeleteFileA(path_.c_str()); }

  std::string Line(int line, size_t size = 260, bool* ok = nullptr) const {
    std::string buf(size, 'Q');
    const bool found = ReadUserFileLine(line, &buf[0], buf.size());
    if (ok) *ok = found;
    return buf.c_str();
  }

  ScopedInstallHome home_;
  std::string name_, path_;
};

}  // namespace

TEST_F(UserFile, ReadsBothLines) {
  WriteWholeFile(path_, "10234\r\nsecond value\r\n");
  bool ok = false;
  EXPECT_EQ(Line(1, 260, &ok), "10234");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Line(2, 260, &ok), "second value");
  EXPECT_TRUE(ok);
}

TEST_F(UserFile, FirstLineZeroOrNotANumberFails) {
  for (const char* content : {"0\r\nx\r\n", "abc\r\nx\r\n", "\r\nx\r\n"}) {
    WriteWholeFile(path_, content);
    bool ok = true;
    EXPECT_EQ(Line(1, 260, &ok), "") << content;
    EXPECT_FALSE(ok) << content;
  }
  WriteWholeFile(path_, "7\r\n\r\n");
  bool ok = true;
  EXPECT_EQ(Line(2, 260, &ok), "");
  EXPECT_FALSE(ok);
}

TEST_F(UserFile, MissingFileOrNameFails) {
  bool ok = true;
  EXPECT_EQ(Line(1, 260, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_EQ(Line(2, 260, &ok), "");
  EXPECT_FALSE(ok);
  WriteWholeFile(path_, "5\r\nx\r\n");
  home_.WriteConfigImage("[Config]\r\nuserfile=\r\n");
  EXPECT_EQ(Line(1, 260, &ok), "");
  EXPECT_FALSE(ok);
}

TEST_F(UserFile, ValueTooLongForTheBufferIsNotCut) {
  WriteWholeFile(path_, "123456\r\nabc\r\n");
  bool ok = true;
  EXPECT_EQ(Line(1, 6, &ok), "");  // a cut id would be another user
  EXPECT_FALSE(ok);
  EXPECT_EQ(Line(1, 7, &ok), "123456");
  EXPECT_TRUE(ok);
}

TEST(HostPlayer, AnyOtherHostGivesItsPath) {
  EXPECT_EQ(HostPlayerName(), ProgramFolder() + "shared_win_tests.exe");
}
