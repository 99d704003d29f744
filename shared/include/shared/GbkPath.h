#pragma once
// Paths in the system code page (GBK), walked one character at a time: the
// trail byte of a double-byte character may be 0x5C, the byte of '\', and is
// then no separator. '\' and '/' both separate unless a caller says otherwise.
// Platform-neutral.
#include <cstddef>
#include <string>

namespace zl {

constexpr const char* kPathSeparators = "\\/";

// Position of the last separator (one of `separators`), npos when none.
size_t LastPathSeparator(const std::string& path, const char* separators = kPathSeparators);

// Position of the first separator at or after `from` (a character
// boundary), npos when none.
size_t NextPathSeparator(const std::string& path, size_t from);

// What follows the last separator: the whole path when there is none.
std::string PathFileName(const std::string& path);

// What precedes the last separator: "" when there is none.
std::string PathFolder(const std::string& path);

// The file name's extension without its dot ("" when the name has no dot
// after its first character, so ".lrc" is a name, not an extension).
std::string PathExtension(const std::string& path);

// The file name without its extension.
std::string PathStem(const std::string& path);

bool EndsInPathSeparator(const std::string& path);

}  // namespace zl
