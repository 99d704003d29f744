#pragma once
// Test helpers: a temporary folder removed afterwards, whole-file reads,
// polling with a deadline, and the folder of the running test program.
#include <windows.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace playerhost_test {

inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\') + 1);
}

class TempFolder {
 public:
  explicit TempFolder(const char* tag) {
    char base[MAX_PATH] = {};
    ::GetTempPathA(sizeof base, base);
    path_ = std::string(base) + tag + "_" + std::to_string(::GetCurrentProcessId()) + "_" +
            std::to_string(::GetTickCount()) + "\\";
    ::CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& f : files_) ::DeleteFileA(f.c_str());
    ::RemoveDirectoryA(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Remembers a file of the folder for removal.
  std::string File(const std::string& name) {
    files_.push_back(path_ + name);
    return files_.back();
  }
  bool CopyIn(const std::string& from, const std::string& name) {
    return ::CopyFileA(from.c_str(), File(name).c_str(), FALSE) != 0;
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(File(name), std::ios::binary) << text;
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::Sleep(5);
  }
  return true;
}

inline std::string WindowText(HWND w) {
  char text[512] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

inline std::string ClassOf(HWND w) {
  char text[256] = {};
  ::GetClassNameA(w, text, sizeof text);
  return text;
}

}  // namespace playerhost_test
