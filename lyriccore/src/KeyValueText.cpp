#include "KeyValueText.h"

#include "shared/GbkText.h"

namespace zl {

std::string TrimKeyValue(const std::string& text) {
  const char* blanks = " \r\n\t";
  const size_t b = text.find_first_not_of(blanks);
  if (b == std::string::npos) return std::string();
  const size_t e = text.find_last_not_of(blanks);
  return text.substr(b, e - b + 1);
}

void ForEachKeyValue(const std::string& text,
                     const std::function<void(const std::string&, const std::string&)>& fn) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const size_t eq = text.find('=', start);
    if (eq != std::string::npos && eq < end)
      fn(TrimKeyValue(text.substr(start, eq - start)), TrimKeyValue(text.substr(eq + 1, end - eq - 1)));
    start = end + 1;
  }
}

void CopyToField(char* field, size_t size, const std::string& value) {
  CopyGbkBounded(field, size, value.data(), value.size());
}

}  // namespace zl
