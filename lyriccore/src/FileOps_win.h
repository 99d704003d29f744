#pragma once
// File-system steps of the engine (Windows paths in the system code page).
#include <cstdint>
#include <string>

namespace zl {

// A file (not a folder) is at path.
bool FileExists(const std::string& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool EnsureFolder(const std::string& folder);
// Replaces (or creates) the file with text: written to a temporary file in
// the same folder, then moved over the old one, so a failed write leaves
// the old file as it was. On failure `error` holds the system's text.
bool ReplaceFileText(const std::string& path, const std::string& text, std::string& error);
// At most maxBytes from the start of the file; false when it cannot be opened or read.
bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string& bytes);
// The file's size in bytes; -1 when it cannot be opened for reading.
int64_t ReadableFileSize(const std::string& path);
// True when a's last write lies before b's (false when either is missing).
bool IsOlderThan(const std::string& a, const std::string& b);
// The system's text for an error code (without the trailing line break).
std::string SystemErrorText(unsigned long code);
// Runs a command line with no window, working in folder, and waits for it
// at most waitMs; a program that does not end by then is ended. False when
// it could not be started or had to be ended.
bool RunHiddenAndWait(const std::string& commandLine, const std::string& folder, unsigned long waitMs);

}  // namespace zl
