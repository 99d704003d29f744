#pragma once
// How the engine's lines reach lyriccore.txt.
#include "shared/Logger.h"

namespace zl {
// The module tag of every engine line.
constexpr const char* kEngineModule = "LyricCore";
// Ordinary lines: the logger keeps only levels 3 and up.
constexpr unsigned kEngineLog = LOG_FATAL;
// How long a waited-for usage event may take before its thread is ended.
constexpr unsigned long kEventWaitMs = 30000;
// How long the recognition engine may take for one song before it is ended:
// it reads and fingerprints one file, which takes seconds, not minutes.
constexpr unsigned long kRecognitionEngineLimitMs = 120000;
}  // namespace zl
