#include "ChildProcess_win.h"

#include <cstdio>
#include <vector>

namespace testsupport {

std::string BesideMe(const std::string& fileName) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  const size_t slash = dir.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : dir.substr(0, slash + 1)) + fileName;
}

std::string TempPath(const std::string& name) {
  char dir[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, dir);
  std::string folder = std::string(dir, n) + "zl_tests\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + std::to_string(GetCurrentProcessId()) + "_" + name;
  DeleteFileA(path.c_str());
  return path;
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::string& commandLine, bool pipeStdout) {
  Kill();
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  zl::UniqueHandle writePipe;
  if (pipeStdout) {
    if (!CreatePipe(readPipe_.Put(), writePipe.Put(), &sa, 0)) return false;
    SetHandleInformation(readPipe_.Get(), HANDLE_FLAG_INHERIT, 0);
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (pipeStdout) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writePipe.Get();
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  }
  PROCESS_INFORMATION pi{};
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  const BOOL ok = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, pipeStdout, CREATE_NO_WINDOW, nullptr,
                                 nullptr, &si, &pi);
  writePipe.Reset();
  if (!ok) return false;
  zl::UniqueHandle thread(pi.hThread);
  process_.Reset(pi.hProcess);
  return true;
}

bool ChildProcess::ReadLine(std::string& line, DWORD timeoutMs) {
  const DWORD deadline = GetTickCount() + timeoutMs;
  for (;;) {
    const size_t nl = pending_.find('\n');
    if (nl != std::string::npos) {
      line = pending_.substr(0, nl);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      pending_.erase(0, nl + 1);
      return true;
    }
    DWORD avail = 0;
    if (!readPipe_ || !PeekNamedPipe(readPipe_.Get(), nullptr, 0, nullptr, &avail, nullptr)) return false;
    if (avail > 0) {
      char buf[512];
      DWORD got = 0;
      if (!ReadFile(readPipe_.Get(), buf, avail < sizeof buf ? avail : sizeof buf, &got, nullptr)) return false;
      pending_.append(buf, got);
      continue;
    }
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
    Sleep(10);
  }
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_) return true;
  if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_.Get(), exitCode);
  return true;
}

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

void ChildProcess::Kill() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }
  process_.Reset();
  readPipe_.Reset();
  pending_.clear();
}

bool StartServer(ChildProcess& child, const std::string& exeName, const std::string& args, int& port,
                 DWORD timeoutMs) {
  port = 0;
  if (!child.Start("\"" + BesideMe(exeName) + "\" --port 0 " + args)) return false;
  std::string line;
  while (child.ReadLine(line, timeoutMs)) {
    if (std::sscanf(line.c_str(), "PORT %d", &port) == 1 && port > 0) return true;
  }
  return false;
}

}  // namespace testsupport
