#include "TestFiles.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <process.h>
#define ZL_GETPID _getpid
#else
#include <unistd.h>
#define ZL_GETPID getpid
#endif

namespace fs = std::filesystem;

namespace zltest {

namespace {
std::atomic<int> g_dirs{0};
#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif
}  // namespace

TempDir::TempDir() {
  std::string base = fs::temp_directory_path().string();
  while (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  path_ = base + kSep + "zl_shared_" + std::to_string(ZL_GETPID()) + "_" +
          std::to_string(g_dirs++);
  std::error_code ec;
  fs::remove_all(path_, ec);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const { return path_ + kSep + name; }

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

namespace {
bool Digits(const std::string& s, size_t at, size_t count, int& value) {
  if (at + count > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}
bool Char(const std::string& s, size_t at, char c) { return at < s.size() && s[at] == c; }
}  // namespace

bool ParseLogLine(const std::string& line, LogLineParts& p) {
  const std::string eol = kLogEol;
  if (line.size() < eol.size() || line.compare(line.size() - eol.size(), eol.size(), eol) != 0)
    return false;
  const std::string body = line.substr(0, line.size() - eol.size());
  if (body.find('\n') != std::string::npos) return false;
  size_t at = 0;
  if (body.compare(0, 2, " [") == 0) {
    p.label.clear();
  } else {
    p.label = body.substr(0, 7);
    at = 7;
  }
  // " [MM-DD hh:mm:ss.mmm]["
  if (!(Char(body, at, ' ') && Char(body, at + 1, '[') && Digits(body, at + 2, 2, p.month) &&
        Char(body, at + 4, '-') && Digits(body, at + 5, 2, p.day) && Char(body, at + 7, ' ') &&
        Digits(body, at + 8, 2, p.hour) && Char(body, at + 10, ':') &&
        Digits(body, at + 11, 2, p.minute) && Char(body, at + 13, ':') &&
        Digits(body, at + 14, 2, p.second) && Char(body, at + 16, '.') &&
        Digits(body, at + 17, 3, p.millisecond) && Char(body, at + 20, ']') &&
        Char(body, at + 21, '[')))
    return false;
  at += 22;
  const size_t close = body.find("]: ", at);
  if (close == std::string::npos) return false;
  p.module = body.substr(at, close - at);
  p.message = body.substr(close + 3);
  return true;
}

std::vector<std::string> SplitLogLines(const std::string& text) {
  const std::string eol = kLogEol;
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(eol, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end + eol.size() - start));
    start = end + eol.size();
  }
  return lines;
}

}  // namespace zltest
