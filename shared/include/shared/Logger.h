#pragma once
// The one logging facility of every deliverable.
//
//   LogWrite(g_logPath, LOG_FATAL, "CLyric", "OnChangeSong==IN %s", path);
//
// Each call appends one line to the named file:
//   "FATAL   [03-09 14:03:07.045][CLyric]: message\n"
// (seven-character level label, or nothing for KeyInfo; local time). The file
// is opened, appended to and closed for every line (text mode, so on Windows
// the line ends in CR LF). The minimum level is fixed at 3: only LOG_FATAL and
// LOG_KEYINFO lines are ever written; per-level switches, the screen switch
// and a list of ignored modules come from section "LOG" of "qnconf.ini"
// beside the host executable (read once, when the process-wide Logger is
// constructed). An empty file path writes nothing and formats nothing.
//
// Lines of every thread of every process are serialised by the named mutex
// "Tarvel_Third_Lyric_2006-07-29". The wait for it is bounded
// (kLogMutexWaitMs): a line that cannot get the mutex in time is dropped,
// so a hung process holding it never freezes a caller. An abandoned
// mutex counts as acquired. Logging never throws and reports nothing.
//
// On Windows builds the full behaviour above holds; the native (host) build
// has the same format and filtering with a process-local lock.
#include <cstdio>
#include <string>
#include <vector>

// The checking must match the printf family that formats the text: on
// mingw-w64 that is its own C99 one, not msvcrt's.
#if defined(__MINGW32__) && defined(__MINGW_PRINTF_FORMAT)
#define ZL_PRINTF_LIKE(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#else
#define ZL_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

enum : unsigned {
  LOG_DEBUG = 0,
  LOG_NOTICE = 1,
  LOG_WARNING = 2,
  LOG_FATAL = 3,
  LOG_KEYINFO = 4,
};

// printf-style; see above.
void LogWrite(const char* filePath, unsigned int level, const char* module,
              const char* format, ...) ZL_PRINTF_LIKE(4, 5);

// The event-log service's variant taking an already formatted message.
void LogWriteText(const char* filePath, unsigned int level, const char* module,
                  const char* message);

// Logs "Error Code is %d, Error Msg is %s" with the system's text for
// errorCode, or "FormatMessage Error, code is <code>" when there is none.
// (Windows builds; the native build logs the C library's text.)
void LogWin32Error(const char* filePath, unsigned long errorCode, unsigned int level,
                   const char* module);

// Longest wait for the named log mutex before a line is dropped.
constexpr unsigned kLogMutexWaitMs = 2000;

// Name of the system-wide mutex shared by every logging process.
constexpr const char* kLogMutexName = "Tarvel_Third_Lyric_2006-07-29";

// Filter settings of one Logger (the qnconf.ini values and the fixed ones).
struct LogFilterConfig {
  bool logDebug = true;
  bool logNotice = true;
  bool logWarning = true;
  bool logFatal = true;
  bool logKeyInfo = true;
  bool logScreen = true;
  bool enabled = true;               // never changed after construction
  std::string moduleFilter = "ALL";  // never changed after construction
  std::vector<std::string> ignoredModules;
  unsigned minLevel = 3;             // never changed after construction

  // The line filter, in this order: enabled, module filter, minimum
  // level, level range and switch, ignored modules (exact, case-sensitive).
  bool Passes(unsigned level, const char* module) const;
};

// The logger. Every deliverable has one process-wide instance, Instance(),
// created when the module loads; it reads qnconf.ini beside the host
// executable. Further instances (tests) can read a settings file of their own.
class Logger {
 public:
  // The process-wide logger of this module.
  static Logger& Instance();

  // Reads the settings from the file at qnconfPath ("" or null: defaults).
  // Tests may name a mutex of their own and a shorter wait.
  explicit Logger(const char* qnconfPath, const char* mutexName = kLogMutexName,
                  unsigned mutexWaitMs = kLogMutexWaitMs);
  ~Logger();
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // The writer: filters, then appends one line under the mutex.
  void Write(const char* filePath, unsigned int level, const char* module,
             const char* message);
  // Formats and writes; formatting happens only for lines that pass.
  void WriteFormat(const char* filePath, unsigned int level, const char* module,
                   const char* format, ...) ZL_PRINTF_LIKE(5, 6);

  const LogFilterConfig& Config() const { return config_; }

  // Path of qnconf.ini beside the host executable ("" when the executable's
  // path has no backslash).
  static std::string DefaultSettingsPath();

 private:
  LogFilterConfig config_;
  void* mutex_ = nullptr;  // system mutex handle (Windows) or process lock
  unsigned mutexWaitMs_;
};
