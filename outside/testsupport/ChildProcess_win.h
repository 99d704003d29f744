#pragma once
// Starting a stand-in program from a test: its standard output is piped back
// so the test can read what it prints (e.g. the port it listens on), and the
// process is ended when the object goes.
#include <windows.h>

#include <string>

#include "shared/Ownership.h"

namespace testsupport {

// Path of a program that sits beside the running test program.
std::string BesideMe(const std::string& fileName);

// A file name that is free in the user's temp folder (the folder is created).
std::string TempPath(const std::string& name);

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // commandLine: the full command line, program first. False when it cannot start.
  bool Start(const std::string& commandLine, bool pipeStdout = true);
  // Next line of standard output within the time limit (without CR/LF).
  bool ReadLine(std::string& line, DWORD timeoutMs);
  // Waits for the process to end; false on time-out.
  bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();
  bool Running() const;
  HANDLE Handle() const { return process_.Get(); }

 private:
  zl::UniqueHandle process_;
  zl::UniqueHandle readPipe_;
  std::string pending_;
};

// Starts a stand-in server with "--port 0 ARGS" and reads the "PORT n" line it prints.
bool StartServer(ChildProcess& child, const std::string& exeName, const std::string& args, int& port,
                 DWORD timeoutMs = 20000);

}  // namespace testsupport
