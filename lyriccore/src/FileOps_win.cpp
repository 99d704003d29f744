#include "FileOps_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "lyriccore/LrcText.h"
#include "shared/GbkPath.h"
#include "shared/Ownership.h"

namespace zl {

namespace {

std::atomic<unsigned> g_tempCounter{0};

bool FolderExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool LastWrite(const std::string& path, ULARGE_INTEGER& t) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return true;
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolder(const std::string& folder) {
  if (folder.empty()) return false;
  // Every separator ends a prefix to create; a double-byte character
  // ending in the byte of '\' is no separator.
  for (size_t i = NextPathSeparator(folder, 0); i != std::string::npos; i = NextPathSeparator(folder, i + 1)) {
    if (i > 0 && folder[i - 1] != ':') {
      const std::string prefix = folder.substr(0, i);
      if (!FolderExists(prefix)) CreateDirectoryA(prefix.c_str(), nullptr);
    }
  }
  if (!FolderExists(folder)) CreateDirectoryA(folder.c_str(), nullptr);
  return FolderExists(folder);
}

bool ReplaceFileText(const std::string& path, const std::string& text, std::string& error) {
  error.clear();
  // A file the user made read-only is not to be rewritten (not every
  // system refuses to move a file over it).
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    error = SystemErrorText(ERROR_ACCESS_DENIED);
    return false;
  }
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%lu.%u.tmp", GetCurrentProcessId(), ++g_tempCounter);
  const std::string temp = path + suffix;
  if (!WriteWholeFile(temp, text)) {
    const DWORD code = GetLastError();
    DeleteFileA(temp.c_str());
    error = text.empty() ? "nothing to write" : SystemErrorText(code);
    return false;
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = SystemErrorText(GetLastError());
    DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string& bytes) {
  bytes.clear();
  UniqueHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  char chunk[8192];
  while (bytes.size() < maxBytes) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof chunk, maxBytes - bytes.size()));
    DWORD got = 0;
    if (!ReadFile(f.Get(), chunk, want, &got, nullptr)) return false;
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return true;
}

int64_t ReadableFileSize(const std::string& path) {
  UniqueHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!f || !GetFileSizeEx(f.Get(), &size)) return -1;
  return size.QuadPart;
}

bool IsOlderThan(const std::string& a, const std::string& b) {
  ULARGE_INTEGER ta, tb;
  return LastWrite(a, ta) && LastWrite(b, tb) && ta.QuadPart < tb.QuadPart;
}

std::string SystemErrorText(unsigned long code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = n && text ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  return out;
}

bool RunHiddenAndWait(const std::string& commandLine, const std::string& folder, unsigned long waitMs) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');  // CreateProcessA may write into the command line
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW,
                      nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return false;
  UniqueHandle process(pi.hProcess);
  UniqueHandle thread(pi.hThread);
  if (WaitForSingleObject(process.Get(), waitMs) == WAIT_OBJECT_0) return true;
  TerminateProcess(process.Get(), 1);
  WaitForSingleObject(process.Get(), 2000);
  return false;
}

}  // namespace zl
