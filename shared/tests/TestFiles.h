#pragma once
// Scratch folders and whole-file reads and writes for the tests.
#include <string>
#include <vector>

namespace zltest {

// A fresh folder below the temp folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Path() joined with name by the platform's separator.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);  // "" when missing
void WriteWholeFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);

// One log line taken apart; false when it does not have the logger's layout
// label " [MM-DD hh:mm:ss.mmm][module]: message" + kLogEol.
struct LogLineParts {
  std::string label, module, message;
  int month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};
bool ParseLogLine(const std::string& line, LogLineParts& parts);

// Splits text after each kLogEol; a rest without one is the last item.
std::vector<std::string> SplitLogLines(const std::string& text);

// Line end as the logger writes it (text mode).
#ifdef _WIN32
constexpr const char* kLogEol = "\r\n";
#else
constexpr const char* kLogEol = "\n";
#endif

}  // namespace zltest
