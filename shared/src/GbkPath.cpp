#include "shared/GbkPath.h"

#include <cstring>

#include "shared/GbkText.h"

namespace zl {

namespace {

bool IsSeparator(char c, const char* separators) { return c != '\0' && std::strchr(separators, c) != nullptr; }

// Where the file name starts, and where its extension's dot is (npos when none).
size_t NameStart(const std::string& path) {
  const size_t sep = LastPathSeparator(path);
  return sep == std::string::npos ? 0 : sep + 1;
}

size_t ExtensionDot(const std::string& path) {
  // A dot is never a trail byte (those start at 0x40), so a plain search
  // within the name is safe.
  const size_t start = NameStart(path);
  const size_t dot = path.rfind('.');
  return dot != std::string::npos && dot > start ? dot : std::string::npos;
}

}  // namespace

size_t LastPathSeparator(const std::string& path, const char* separators) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (IsSeparator(path[i], separators)) last = i;
  }
  return last;
}

size_t NextPathSeparator(const std::string& path, size_t from) {
  for (size_t i = from; i < path.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (IsSeparator(path[i], kPathSeparators)) return i;
  }
  return std::string::npos;
}

std::string PathFileName(const std::string& path) { return path.substr(NameStart(path)); }

std::string PathFolder(const std::string& path) {
  const size_t sep = LastPathSeparator(path);
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string PathExtension(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string PathStem(const std::string& path) {
  const size_t start = NameStart(path);
  const size_t dot = ExtensionDot(path);
  return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

bool EndsInPathSeparator(const std::string& path) {
  return !path.empty() && LastPathSeparator(path) == path.size() - 1;
}

}  // namespace zl
