#pragma once
// The user-interface texts: a flat key=value table, "<home>\config\StringConfig.ini".
// Each window loads it when it is created; lookups never fail (a missing key
// reads as the empty text).
#include <map>
#include <string>

class StringTable {
 public:
  // Every line "key=value" defines one text: the key is everything before
  // the first "=", the value everything after it. Empty lines and lines
  // beginning with "=" are skipped; a line without "=" is both key and
  // value. A line ends at its line feed (a CR before it is dropped). A later
  // line with the same key replaces the earlier text.
  void Parse(const std::string& text);
  // False (and an empty table) when the file cannot be read.
  bool Load(const std::string& path);

  std::string Get(const char* key) const;
  size_t Size() const { return m_texts.size(); }

 private:
  std::map<std::string, std::string> m_texts;
};

constexpr const char* kStringTableFile = "StringConfig.ini";
constexpr const char* kStringTableBig5File = "StringConfigBig5.ini";
// Traditional Chinese (Taiwan), for which only the update notice uses the Big5 table.
constexpr unsigned long kLocaleChineseTaiwan = 1028;

// "<home>\config\<file>".
std::string StringTablePath(const std::string& home, const char* file = kStringTableFile);
