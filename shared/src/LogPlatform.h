#pragma once
// What the logger needs from the system; LogPlatform_win.cpp on Windows,
// LogPlatform_posix.cpp on the host build.
#include <string>

#include "shared/LogFormat.h"

namespace zl {

// Creates or opens the named log mutex; null (after saying why on standard
// output) when that fails.
void* LogMutexOpen(const char* name);
void LogMutexClose(void* mutex);
// Waits at most timeoutMs; an abandoned mutex counts as acquired.
bool LogMutexLock(void* mutex, unsigned timeoutMs);
void LogMutexUnlock(void* mutex);

LogTime LogLocalTime();

// Full path of the host process's executable ("" when unknown).
std::string LogExecutablePath();

// Value of key in section "LOG" of the settings file ("" when missing).
std::string LogReadSetting(const std::string& settingsPath, const char* key);

// Opens path for appending (creating it), writes line, closes it. False when
// the file cannot be opened or written.
bool LogAppendLine(const char* path, const std::string& line);

// The system's text for an error code; false when it has none.
bool LogSystemErrorText(unsigned long code, std::string& text);

}  // namespace zl
