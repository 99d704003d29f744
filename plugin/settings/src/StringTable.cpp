#include "settings/StringTable.h"

#include <fstream>
#include <iterator>

void StringTable::Parse(const std::string& text) {
  m_texts.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '=') continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
      m_texts[line] = line;
    } else {
      m_texts[line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
}

bool StringTable::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    m_texts.clear();
    return false;
  }
  Parse(std::string(std::istreambuf_iterator<char>(in), {}));
  return true;
}

std::string StringTable::Get(const char* key) const {
  if (!key) return "";
  const auto it = m_texts.find(key);
  return it == m_texts.end() ? std::string() : it->second;
}

std::string StringTablePath(const std::string& home, const char* file) {
  return home + "\\config\\" + (file ? file : kStringTableFile);
}
