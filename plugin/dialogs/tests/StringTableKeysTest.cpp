// Every key the dialogs look up, and every key the lyric windows and the MV
// window use, has a text in both string tables as they are installed.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "settings/StringTable.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// String literals in the dialog sources that name table keys: CamelCase
// identifiers and the "url" addresses. The few other such literals are
// listed here.
bool LooksLikeKey(const std::string& s) {
  if (s.empty()) return false;
  const bool url = s.compare(0, 3, "url") == 0 && s.size() > 3 && s[3] >= 'A' && s[3] <= 'Z';
  if (!url && !(s[0] >= 'A' && s[0] <= 'Z')) return false;
  for (char c : s) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

std::set<std::string> KeysInSources() {
  const std::set<std::string> notKeys = {"ChangeConf", "LyricDialogs"};
  std::set<std::string> keys;
  DIR* dir = opendir(ZL_DIALOG_SOURCES);
  if (!dir) return keys;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".cpp") != 0) continue;
    const std::string text = Slurp(std::string(ZL_DIALOG_SOURCES) + "/" + name);
    // Literals without escapes or line breaks are all the keys need.
    for (size_t open = text.find('"'); open != std::string::npos;) {
      const size_t close = text.find('"', open + 1);
      if (close == std::string::npos) break;
      const std::string literal = text.substr(open + 1, close - open - 1);
      if (LooksLikeKey(literal) && !notKeys.count(literal)) keys.insert(literal);
      open = text.find('"', close + 1);
    }
  }
  closedir(dir);
  return keys;
}

// Keys of the lyric windows' buttons and menus and of the MV window's buttons.
const char* const kWindowKeys[] = {"Play",  "Pause",  "Stop",  "Previous", "Next", "Minimize",
                                   "Close", "ChangeToFullMode", "Video", "urlBBS", "urlHelp", "Hold",
                                   "More",  "Feedback", "Mute",  "Normal",   "Large"};

class StringTableKeys : public ::testing::TestWithParam<const char*> {};

TEST_P(StringTableKeys, EveryKeyHasAText) {
  StringTable table;
  ASSERT_TRUE(table.Load(std::string(ZL_STRING_TABLE_DIR) + "/" + GetParam()));
  const std::set<std::string> keys = KeysInSources();
  ASSERT_GT(keys.size(), 90u);  // the scan found the sources
  for (const std::string& key : keys) EXPECT_FALSE(table.Get(key.c_str()).empty()) << key;
  for (const char* key : kWindowKeys) EXPECT_FALSE(table.Get(key).empty()) << key;
}

INSTANTIATE_TEST_SUITE_P(BothTables, StringTableKeys, ::testing::Values("StringConfig.ini", "StringConfigBig5.ini"));

TEST(StringTables, SameKeysInBoth) {
  auto keysOf = [](const std::string& text) {
    std::set<std::string> keys;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      if (!line.empty() && line[0] != '=') keys.insert(line.substr(0, line.find('=')));
      start = end + 1;
    }
    return keys;
  };
  const std::string dir = ZL_STRING_TABLE_DIR;
  EXPECT_EQ(keysOf(Slurp(dir + "/StringConfig.ini")), keysOf(Slurp(dir + "/StringConfigBig5.ini")));
  // Written in their code pages: GBK and Big5 encode 歌词/歌詞 differently.
  EXPECT_NE(Slurp(dir + "/StringConfig.ini").find("\xB8\xE8\xB4\xCA"), std::string::npos);  // 歌词 in GBK
  EXPECT_NE(Slurp(dir + "/StringConfigBig5.ini").find("\xBA\x71\xB5\xFC"), std::string::npos);  // 歌詞 in Big5
}

}  // namespace
