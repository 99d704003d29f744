// The host build's logger platform: a process-wide lock in place of the
// named system mutex (host tools log from one process only).
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include "shared/CriticalSection.h"
#include <sstream>

#include "LogPlatform.h"
#include "shared/ProfileText.h"

namespace zl {

void* LogMutexOpen(const char* name) {
  // One lock per name for the life of the process, like a named mutex that
  // stays open.
  static zl::CriticalSection guard;
  static std::map<std::string, std::unique_ptr<std::timed_mutex>> locks;
  zl::Lock hold(guard);
  std::unique_ptr<std::timed_mutex>& lock = locks[name];
  if (!lock) lock.reset(new std::timed_mutex);
  return lock.get();
}

void LogMutexClose(void*) {}

bool LogMutexLock(void* mutex, unsigned timeoutMs) {
  return static_cast<std::timed_mutex*>(mutex)->try_lock_for(std::chrono::milliseconds(timeoutMs));
}

void LogMutexUnlock(void* mutex) { static_cast<std::timed_mutex*>(mutex)->unlock(); }

LogTime LogLocalTime() {
  timeval now;
  gettimeofday(&now, nullptr);
  std::tm local;
  const time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  LogTime t;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(now.tv_usec / 1000);
  return t;
}

std::string LogExecutablePath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

std::string LogReadSetting(const std::string& settingsPath, const char* key) {
  std::ifstream in(settingsPath, std::ios::binary);
  if (!in) return std::string();
  std::ostringstream content;
  content << in.rdbuf();
  std::string value;
  if (!FindIniValue(content.str(), "LOG", key, value)) return std::string();
  return value.substr(0, 511);
}

bool LogAppendLine(const char* path, const std::string& line) {
  FILE* f = std::fopen(path, "a");
  if (!f) return false;
  const bool written = std::fputs(line.c_str(), f) >= 0;
  return std::fclose(f) == 0 && written;
}

bool LogSystemErrorText(unsigned long code, std::string& text) {
  char buf[256] = "";
  // The GNU strerror_r returns its text, which may not be buf.
  const char* message = strerror_r(static_cast<int>(code), buf, sizeof buf);
  if (!message || !*message) return false;
  text = message;
  return true;
}

}  // namespace zl
