#pragma once
// The key=value lines of info files and server answers.
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>

namespace zl {

// Drops blanks, CR, LF and TAB from both ends.
std::string TrimKeyValue(const std::string& text);

// Calls fn(key, value) for every line (LF-ended) that holds a '=': the line
// is cut at its first '=' and both sides are trimmed. Lines without '=' are
// skipped.
void ForEachKeyValue(const std::string& text, const std::function<void(const std::string&, const std::string&)>& fn);

// Copies a value into a fixed-size field, cut to the field without splitting
// a double-byte character.
void CopyToField(char* field, size_t size, const std::string& value);

// The text of a fixed-size field, also when a caller left it unterminated.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  const void* nul = std::memchr(field, '\0', N);
  return std::string(field, nul ? static_cast<const char*>(nul) - field : N);
}

}  // namespace zl
