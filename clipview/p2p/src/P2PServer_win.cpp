#include "P2PServer_win.h"

#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"

namespace clipview {

namespace {

constexpr const char* kModule = "P2PServer";

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

std::string ConfiguredServer() {
  char program[MAX_PATH] = {};
  return ReadConfigP2PServer(program, sizeof program) ? std::string(program) : std::string();
}

}  // namespace

bool StartP2PServer(const std::string& logPath) {
  char common[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES_COMMON, nullptr, 0, common))) return false;
  std::string home;
  if (!ReadInstallHome(home)) return false;
  const std::string program = ConfiguredServer();
  if (program.empty()) return false;
  zl::UniqueHandle process(RunProgramHidden(program.c_str(), home.c_str(), false));
  if (!process) {
    LogWrite(logPath.c_str(), LOG_FATAL, kModule, "Start P2P Server %s Failed.", program.c_str());
    return false;
  }
  zl::UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(),
                      nullptr) == ERROR_SUCCESS) {
    const DWORD one = 1;
    RegSetValueExA(key.Get(), "P2PStarted", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  }
  return true;
}

void RecoverP2PServer(const std::string& logPath) {
  // NOTE: the configured program is ended too: only ending "ZoMV.exe" would
  // leave a hung ZoSvr.exe holding the server window.
  std::vector<std::string> names{"zomv.exe"};
  const std::string configured = Lower(ConfiguredServer());
  const size_t slash = configured.find_last_of("\\/");
  const std::string configuredName = slash == std::string::npos ? configured : configured.substr(slash + 1);
  if (!configuredName.empty() && configuredName != names[0]) names.push_back(configuredName);

  zl::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot) {
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
      if (entry.th32ProcessID == GetCurrentProcessId()) continue;
      const std::string exe = Lower(entry.szExeFile);
      if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return exe.find(n) != std::string::npos; }))
        continue;
      zl::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
      if (process && TerminateProcess(process.Get(), 0))
        LogWrite(logPath.c_str(), LOG_FATAL, kModule, "Terminated hung P2P server %s.", entry.szExeFile);
    }
  }
  StartP2PServer(logPath);
}

}  // namespace clipview
