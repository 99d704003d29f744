#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "lyriccore/LrcText.h"

namespace fs = std::filesystem;

class LrcFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zl_lrcfile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

TEST_F(LrcFileTest, RoundTripKeepsEveryByte) {
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 7 % 256);  // NULs, CR LF, high bytes
  bytes += "\r\n\xEF\xBB\xBF";
  ASSERT_TRUE(WriteWholeFile(Path("a.lrc"), bytes));
  std::string back = "stale";
  ASSERT_TRUE(ReadWholeFile(Path("a.lrc"), back));
  EXPECT_EQ(back, bytes);
}

TEST_F(LrcFileTest, ReadKeepsByteOrderMarkAndCrLf) {
  {
    std::ofstream out(Path("bom.lrc"), std::ios::binary);
    out << "\xEF\xBB\xBF[00:01]a\r\n";
  }
  std::string text;
  ASSERT_TRUE(ReadWholeFile(Path("bom.lrc"), text));
  EXPECT_EQ(text, "\xEF\xBB\xBF[00:01]a\r\n");
}

TEST_F(LrcFileTest, MissingFileReadsAsFalseAndEmpty) {
  std::string text = "left over";
  EXPECT_FALSE(ReadWholeFile(Path("nothing-here.lrc"), text));
  EXPECT_TRUE(text.empty());
}

TEST_F(LrcFileTest, EmptyFileReadsAsTrueAndEmpty) {
  { std::ofstream out(Path("empty.lrc")); }
  std::string text = "x";
  EXPECT_TRUE(ReadWholeFile(Path("empty.lrc"), text));
  EXPECT_TRUE(text.empty());
}

TEST_F(LrcFileTest, WriteTruncatesALongerFile) {
  ASSERT_TRUE(WriteWholeFile(Path("t.lrc"), std::string(5000, 'x')));
  ASSERT_TRUE(WriteWholeFile(Path("t.lrc"), "short"));
  EXPECT_EQ(Slurp(Path("t.lrc")), "short");
}

TEST_F(LrcFileTest, WriteFailsWhereTheFileCannotBeCreated) {
  EXPECT_FALSE(WriteWholeFile((dir_ / "no-such-folder" / "x.lrc").string(), "text"));
  EXPECT_FALSE(WriteWholeFile(dir_.string(), "a folder is not a file"));
}

TEST_F(LrcFileTest, WritingNothingReportsFalse) {
  EXPECT_FALSE(WriteWholeFile(Path("none.lrc"), ""));
  EXPECT_TRUE(fs::exists(Path("none.lrc")));
  EXPECT_EQ(fs::file_size(Path("none.lrc")), 0u);
}
