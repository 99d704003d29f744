// Starting programs and bringing web pages up in the browser.
#include "shared/InstallHome.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "shared/ConfigRules.h"
#include "shared/BoundedWorker.h"
#include "shared/Ownership.h"

using namespace zl;

namespace {

HANDLE StartProgram(const char* command, const char* folder, WORD show, bool wait) {
  if (!command || !*command) return nullptr;
  const std::string line = BuildProgramCommandLine(command, folder);
  std::vector<char> mutableLine(line.begin(), line.end());  // CreateProcessA may write to it
  mutableLine.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = show;
  PROCESS_INFORMATION pi = {};
  const bool hasFolder = folder && *folder;
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                      nullptr, hasFolder ? folder : nullptr, &si, &pi))
    return nullptr;
  UniqueHandle thread(pi.hThread);
  if (!wait) return pi.hProcess;
  UniqueHandle process(pi.hProcess);
  WaitForSingleObject(process.Get(), INFINITE);
  // NOTE: the process handle is closed here, so a closed (and soon reused)
  // handle value must not reach the caller; the current-process pseudo
  // handle says "started" and is harmless should a caller close it.
  return GetCurrentProcess();
}

bool Launched(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

void BringToFront(HWND window) {
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD ownThread = GetCurrentThreadId();
  const bool attached =
      foregroundThread && foregroundThread != ownThread &&
      AttachThreadInput(ownThread, foregroundThread, TRUE);
  ShowWindow(window, SW_SHOWMAXIMIZED);
  SetForegroundWindow(window);
  BringWindowToTop(window);
  if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
}

bool OpenLinkPage(int (*count)(), bool (*entry)(int, char*, size_t), const char* s,
                  const char* a, const char* b) {
  EnsureProductKeys();
  char prefix[64];
  if (count() <= 0 || !entry(0, prefix, sizeof prefix)) return false;
  return OpenBrowserPageAsync(BuildLinkUrl(prefix, s, a, b).c_str());
}

}  // namespace

void* RunProgramHidden(const char* command, const char* folder, bool wait) {
  return StartProgram(command, folder, SW_HIDE, wait);
}

void* RunProgramShown(const char* command, const char* folder, bool wait) {
  return StartProgram(command, folder, SW_SHOW, wait);
}

bool OpenBrowserPage(const char* existingTitle, const char* url, const char* awaitedTitle) {
  if (!url || !*url) return false;
  HWND window = (existingTitle && *existingTitle) ? FindWindowA(nullptr, existingTitle) : nullptr;
  if (!window) {
    // A blank in the address (the link fields are not escaped) would split
    // it into several arguments.
    std::string parameter = url;
    if (parameter.find_first_of(" \t") != std::string::npos &&
        parameter.find('"') == std::string::npos)
      parameter = "\"" + parameter + "\"";
    if (!Launched(ShellExecuteA(nullptr, "open", "iexplore.exe", parameter.c_str(), "",
                                SW_SHOWMAXIMIZED))) {
      // No Internet Explorer on this system: the user's own browser shows the
      // page and brings itself forward.
      return IsWebAddress(url) &&
             Launched(ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL));
    }
    for (int poll = 0; poll < 60 && !window; ++poll) {
      Sleep(100);
      if (awaitedTitle && *awaitedTitle) window = FindWindowA(nullptr, awaitedTitle);
    }
    if (!window) return true;  // started; its window goes by another title
  }
  BringToFront(window);
  return true;
}

bool OpenBrowserPageAsync(const char* url) {
  if (!url || !*url) return false;
  try {
    return StartDetached([address = std::string(url)] {
      OpenBrowserPage(address.c_str(), address.c_str(), BrowserWindowTitle(address).c_str());
    });
  } catch (...) {
    return false;
  }
}

bool OpenAdvertPage(const char* s, const char* a, const char* b) {
  return OpenLinkPage(ReadConfigAdvertCount, ReadConfigAdvert, s, a, b);
}

bool OpenStarPage(const char* s, const char* a, const char* b) {
  return OpenLinkPage(ReadConfigStarCount, ReadConfigStar, s, a, b);
}
