#include <windows.h>

#include <cstdio>
#include <vector>

#include "LogPlatform.h"

namespace zl {

void* LogMutexOpen(const char* name) {
  // A null access-control list: the logging processes of the suite may run
  // as different users and must all be able to open the one mutex.
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
  HANDLE mutex = CreateMutexA(&sa, FALSE, name);
  if (!mutex) {
    std::printf("Create Mutex error: %d \n", static_cast<int>(GetLastError()));
    std::fflush(stdout);
  }
  return mutex;
}

void LogMutexClose(void* mutex) { CloseHandle(static_cast<HANDLE>(mutex)); }

bool LogMutexLock(void* mutex, unsigned timeoutMs) {
  const DWORD r = WaitForSingleObject(static_cast<HANDLE>(mutex), timeoutMs);
  // An abandoned mutex is ours now; its previous owner died mid-line at worst.
  return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

void LogMutexUnlock(void* mutex) { ReleaseMutex(static_cast<HANDLE>(mutex)); }

LogTime LogLocalTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LogTime t;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  return t;
}

std::string LogExecutablePath() {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) return std::string(buf.data(), n);
    if (buf.size() >= 32768) return std::string();
    buf.resize(buf.size() * 2);
  }
}

std::string LogReadSetting(const std::string& settingsPath, const char* key) {
  char value[512] = "";
  GetPrivateProfileStringA("LOG", key, "", value, sizeof value, settingsPath.c_str());
  value[sizeof value - 1] = '\0';
  return value;
}

bool LogAppendLine(const char* path, const std::string& line) {
  // Text mode, as every log reader on Windows expects CR LF line ends.
  FILE* f = std::fopen(path, "a");
  if (!f) return false;
  const bool written = std::fputs(line.c_str(), f) >= 0;
  return std::fclose(f) == 0 && written;
}

bool LogSystemErrorText(unsigned long code, std::string& text) {
  char* message = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
      reinterpret_cast<char*>(&message), 0, nullptr);
  if (n == 0 || !message) return false;
  text.assign(message, n);
  LocalFree(message);
  return true;
}

}  // namespace zl
