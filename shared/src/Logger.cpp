#include "shared/Logger.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "LogPlatform.h"
#include "shared/LogFormat.h"

using namespace zl;

namespace {

// Set once the process-wide logger is gone, so that a line written from a
// later static destructor is dropped instead of touching a dead object.
std::atomic<bool> g_instanceGone{false};

struct InstanceHolder {
  Logger logger{Logger::DefaultSettingsPath().c_str()};
  ~InstanceHolder() { g_instanceGone = true; }
};

// Created when the module loads, as every deliverable expects its logger to
// be ready before its first line.
[[maybe_unused]] Logger& g_loadTimeInstance = Logger::Instance();

class MutexLock {
 public:
  MutexLock(void* mutex, unsigned timeoutMs)
      : mutex_(mutex), held_(mutex && LogMutexLock(mutex, timeoutMs)) {}
  ~MutexLock() {
    if (held_) LogMutexUnlock(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;
  // Without a mutex (its creation failed) lines are written unguarded.
  bool MayWrite() const { return held_ || !mutex_; }

 private:
  void* mutex_;
  bool held_;
};

bool IsEmptyPath(const char* path) { return !path || !*path; }

}  // namespace

bool LogFilterConfig::Passes(unsigned level, const char* module) const {
  const char* name = module ? module : "";
  if (!enabled) return false;
  if (moduleFilter != "ALL" && moduleFilter != name) return false;
  if (level < minLevel) return false;
  const bool switches[] = {logDebug, logNotice, logWarning, logFatal, logKeyInfo};
  if (level >= sizeof switches / sizeof switches[0] || !switches[level]) return false;
  for (const std::string& ignored : ignoredModules) {
    if (ignored == name) return false;
  }
  return true;
}

Logger& Logger::Instance() {
  static InstanceHolder holder;
  return holder.logger;
}

std::string Logger::DefaultSettingsPath() {
  return SettingsPathBesideExecutable(LogExecutablePath());
}

Logger::Logger(const char* qnconfPath, const char* mutexName, unsigned mutexWaitMs)
    : mutexWaitMs_(mutexWaitMs) {
  mutex_ = LogMutexOpen(mutexName ? mutexName : kLogMutexName);
  if (!qnconfPath || !*qnconfPath) return;
  const std::string path = qnconfPath;
  config_.ignoredModules = ParseIgnoredModules(LogReadSetting(path, "Ignored Modules"));
  config_.logDebug = ParseLogSwitch(LogReadSetting(path, LogSwitchKey(LOG_DEBUG)));
  config_.logNotice = ParseLogSwitch(LogReadSetting(path, LogSwitchKey(LOG_NOTICE)));
  config_.logWarning = ParseLogSwitch(LogReadSetting(path, LogSwitchKey(LOG_WARNING)));
  config_.logFatal = ParseLogSwitch(LogReadSetting(path, LogSwitchKey(LOG_FATAL)));
  config_.logKeyInfo = ParseLogSwitch(LogReadSetting(path, LogSwitchKey(LOG_KEYINFO)));
  config_.logScreen = ParseLogSwitch(LogReadSetting(path, "Log Screen"));
}

Logger::~Logger() {
  if (mutex_) LogMutexClose(mutex_);
}

void Logger::Write(const char* filePath, unsigned int level, const char* module,
                   const char* message) {
  if (IsEmptyPath(filePath) || !config_.Passes(level, module)) return;
  const std::string line = FormatLogLine(level, LogLocalTime(), module, message);
  // NOTE: the wait is bounded: a process that hangs while holding the mutex
  // must not freeze every logging thread of every deliverable. Such a line
  // is dropped.
  MutexLock lock(mutex_, mutexWaitMs_);
  if (!lock.MayWrite()) return;
  LogAppendLine(filePath, line);  // a file that cannot be opened loses the line
  if (config_.logScreen) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
  }
}

namespace {

void WriteFormatV(Logger& logger, const char* filePath, unsigned level, const char* module,
                  const char* format, va_list args) {
  // Formatting is skipped for lines that would be dropped anyway.
  if (IsEmptyPath(filePath) || !logger.Config().Passes(level, module)) return;
  const std::string message = FormatLogMessageV(format, args);
  logger.Write(filePath, level, module, message.c_str());
}

}  // namespace

void Logger::WriteFormat(const char* filePath, unsigned int level, const char* module,
                         const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteFormatV(*this, filePath, level, module, format, args);
  va_end(args);
}

void LogWrite(const char* filePath, unsigned int level, const char* module, const char* format,
              ...) {
  if (IsEmptyPath(filePath) || g_instanceGone) return;
  va_list args;
  va_start(args, format);
  WriteFormatV(Logger::Instance(), filePath, level, module, format, args);
  va_end(args);
}

void LogWriteText(const char* filePath, unsigned int level, const char* module,
                  const char* message) {
  if (IsEmptyPath(filePath) || g_instanceGone) return;
  Logger::Instance().Write(filePath, level, module, message);
}

void LogWin32Error(const char* filePath, unsigned long errorCode, unsigned int level,
                   const char* module) {
  if (IsEmptyPath(filePath) || g_instanceGone) return;
  Logger& logger = Logger::Instance();
  if (!logger.Config().Passes(level, module)) return;
  std::string text = "Can't Find Msg for This Code!";
  if (LogSystemErrorText(errorCode, text)) {
    // The system's texts end in CR LF; kept, they would break the line in two.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
      text.pop_back();
    logger.WriteFormat(filePath, level, module, "Error Code is %d, Error Msg is %s",
                       static_cast<int>(errorCode), text.c_str());
  } else {
    logger.WriteFormat(filePath, level, module, "%s%d", "FormatMessage Error, code is ",
                       static_cast<int>(errorCode));
  }
}
