#include "shared/LyricSettings.h"

#include <cstdlib>
#include <cstring>

#include "shared/GbkText.h"
#include "shared/ProfileText.h"

namespace zl {

namespace {

using T = SettingType;

constexpr size_t kProxyBytes = 128;
constexpr size_t kFontTextBytes = 256;
constexpr size_t kFolderBytes = 260;
// NOTE: a save folder cut short would name another folder, so it is read
// whole up to a path's size and a longer value counts as unset.
constexpr size_t kSavePathBytes = 260;
// More folders than this is a damaged file, not a list anyone keeps.
constexpr int kMaxLocalFolders = 1024;

const char kLrcSavePathKey[] = "LrcSavePath";
const char kLocalSection[] = "LOCAL_LRC";

struct Entry {
  SettingKey key;
  void* (*field)(LyricSettings&);
};

#define ZL_FIELD(member) [](LyricSettings& s) -> void* { return &s.member; }

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {{"PROXY", "ConType", T::Text, "1", "1", kProxyBytes, false}, ZL_FIELD(ConType)},
      {{"PROXY", "ProxyServer", T::Text, "", "", kProxyBytes, false}, ZL_FIELD(ProxyServer)},
      {{"PROXY", "ProxyPort", T::Text, "", "", kProxyBytes, false}, ZL_FIELD(ProxyPort)},
      {{"PROXY", "UserName", T::Text, "", "", kProxyBytes, false}, ZL_FIELD(UserName)},
      {{"PROXY", "Password", T::Text, "", "", kProxyBytes, false}, ZL_FIELD(Password)},
      {{"CONFIG", "RetryTime", T::Int, "20", "20", 0, false}, ZL_FIELD(RetryTime)},
      {{"LYRIC_FILE", "UpdateSongInfo", T::Int, "0", "0", 0, false}, ZL_FIELD(UpdateSongInfo)},
      {{"LYRIC_FILE", "SaveLrcFileAsSongFileName", T::Int, "0", "0", 0, false},
       ZL_FIELD(SaveLrcFileAsSongFileName)},
      {{"LYRIC_FILE", "SaveLrcInSongPath", T::Int, "0", "0", 0, false}, ZL_FIELD(SaveLrcInSongPath)},
      {{"LYRIC_FILE", "SaveLrcInOtherPath", T::Int, "1", "1", 0, false}, ZL_FIELD(SaveLrcInOtherPath)},
      // Default and reset value depend on the home; see DefaultLrcSavePath.
      {{"LYRIC_FILE", kLrcSavePathKey, T::Text, "", "", kSavePathBytes, false}, ZL_FIELD(LrcSavePath)},
      {{"FP_RECOGNISE", "autofprecognise", T::Bool, "0", "0", 0, false}, ZL_FIELD(autofprecognise)},
      {{"FP_RECOGNISE", "usefprecognise", T::Bool, "1", "1", 0, false}, ZL_FIELD(usefprecognise)},
      {{"Style", "wheelTip", T::Bool, "0", nullptr, 0, false}, ZL_FIELD(wheelTip)},
      {{"Style", "hasUsedMini", T::Int, "0", nullptr, 0, false}, ZL_FIELD(hasUsedMini)},
      {{"Style", "lyricMaybeWrong", T::Int, "0", nullptr, 0, false}, ZL_FIELD(lyricMaybeWrong)},
      {{"Style", "enableWheel", T::Int, "1", nullptr, 0, false}, ZL_FIELD(enableWheel)},
      {{"Style", "haswheel", T::Int, "0", nullptr, 0, false}, ZL_FIELD(haswheel)},
      {{"Stype", "RightBtn", T::Int, "0", nullptr, 0, false}, ZL_FIELD(RightBtn)},
      {{"Style", "scrollType", T::Int, "0", "0", 0, true}, ZL_FIELD(font.scrollType)},
      {{"Style", "lyricSize", T::Int, "15", "14", 0, true}, ZL_FIELD(font.lyricSize)},
      {{"Style", "UserDefineFont", T::Bool, "0", "0", 0, true}, ZL_FIELD(font.UserDefineFont)},
      {{"Style", "IsKalaOk", T::Bool, "0", "0", 0, true}, ZL_FIELD(font.IsKalaOk)},
      {{"LYRIC_FONT", "facename", T::Text, "@Fixedsys", "宋体", kFontTextBytes, true},
       ZL_FIELD(font.facename)},
      {{"LYRIC_FONT", "weight", T::Int, "400", "400", 0, true}, ZL_FIELD(font.weight)},
      {{"LYRIC_FONT", "italic", T::Int, "0", "0", 0, true}, ZL_FIELD(font.italic)},
      {{"LYRIC_FONT", "underline", T::Int, "0", "0", 0, true}, ZL_FIELD(font.underline)},
      {{"LYRIC_FONT", "strikeout", T::Int, "0", "0", 0, true}, ZL_FIELD(font.strikeout)},
      {{"LYRIC_FONT", "height", T::Int, "-16", "-14", 0, true}, ZL_FIELD(font.height)},
      {{"LYRIC_FONT", "rgb", T::Int, "0", "12615680", 0, true}, ZL_FIELD(font.rgb)},
      {{"LYRIC_FONT", "highlightrgb", T::Int, "0", "65280", 0, true}, ZL_FIELD(font.highlightrgb)},
      {{"BACK_GROUND", "bktype", T::Int, "0", "0", 0, true}, ZL_FIELD(font.bktype)},
      {{"BACK_GROUND", "picpath", T::Text, "", "", kFontTextBytes, true}, ZL_FIELD(font.picpath)},
      {{"BACK_GROUND", "backcolor", T::Int, "0", "12376814", 0, true}, ZL_FIELD(font.backcolor)},
      {{"BACK_GROUND", "backpiclum", T::Int, "0", "30", 0, true}, ZL_FIELD(font.backpiclum)},
  };
  return entries;
}

#undef ZL_FIELD

bool IsSavePath(const SettingKey& key) { return std::strcmp(key.key, kLrcSavePathKey) == 0; }

std::string CutText(const std::string& text, size_t readBytes) {
  if (readBytes == 0) return text;
  return text.substr(0, GbkCutLength(text.data(), text.size(), readBytes - 1));
}

bool BoolFromDefault(const char* def) { return ParseProfileBool(def, false); }

// Puts a value given as setting text into the field.
void Assign(const Entry& e, LyricSettings& s, const std::string& text) {
  void* field = e.field(s);
  switch (e.key.type) {
    case T::Text:
      *static_cast<std::string*>(field) = text;
      break;
    case T::Int:
      *static_cast<int*>(field) = ParseProfileInt(text, std::atoi(e.key.def), 10);
      break;
    case T::Bool:
      *static_cast<bool*>(field) = ParseProfileBool(text, BoolFromDefault(e.key.def));
      break;
  }
}

std::string ValueText(const Entry& e, LyricSettings& s) {
  void* field = e.field(s);
  switch (e.key.type) {
    case T::Text:
      return *static_cast<std::string*>(field);
    case T::Int:
      return std::to_string(*static_cast<int*>(field));
    case T::Bool:
      return *static_cast<bool*>(field) ? "1" : "0";
  }
  return "";
}

std::string IndexedKey(const char* base, size_t index) { return base + std::to_string(index); }

}  // namespace

const std::vector<SettingKey>& LyricSettingKeys() {
  static const std::vector<SettingKey> keys = [] {
    std::vector<SettingKey> k;
    for (const Entry& e : Entries()) k.push_back(e.key);
    return k;
  }();
  return keys;
}

std::string DefaultLrcSavePath(const std::string& home) { return home + "\\lyric"; }

std::string LyricSettingsPath(const std::string& home) { return home + "\\conf.ini"; }

void LoadLyricSettings(const SettingsSource& source, const std::string& home, LyricSettings& out) {
  out = LyricSettings();
  for (const Entry& e : Entries()) {
    const SettingKey& k = e.key;
    if (k.type != T::Text) {
      Assign(e, out, source.Text(k.section, k.key, ""));
      continue;
    }
    const std::string raw = source.Text(k.section, k.key, k.def);
    if (IsSavePath(k)) {
      const bool usable = !raw.empty() && raw.size() < k.readBytes;
      out.LrcSavePath = usable ? raw : DefaultLrcSavePath(home);
      continue;
    }
    Assign(e, out, CutText(raw, k.readBytes));
  }
  out.localFolders = LoadLocalLyricFolders(source);
}

std::vector<LocalLyricFolder> LoadLocalLyricFolders(const SettingsSource& source) {
  std::vector<LocalLyricFolder> folders;
  int count = ParseProfileInt(source.Text(kLocalSection, "pathnum", ""), 0, 10);
  if (count > kMaxLocalFolders) count = kMaxLocalFolders;
  for (int i = 0; i < count; ++i) {
    const std::string path = source.Text(kLocalSection, IndexedKey("path", i).c_str(), "");
    if (path.empty() || path.size() >= kFolderBytes) continue;
    LocalLyricFolder folder;
    folder.path = path;
    folder.checked = ParseProfileBool(source.Text(kLocalSection, IndexedKey("check", i).c_str(), ""), true);
    folders.push_back(folder);
  }
  return folders;
}

void ResetLyricSettings(const std::string& home, LyricSettings& settings) {
  for (const Entry& e : Entries()) {
    if (!e.key.reset) continue;
    if (IsSavePath(e.key)) {
      settings.LrcSavePath = DefaultLrcSavePath(home);
      continue;
    }
    Assign(e, settings, e.key.reset);
  }
}

void SaveLyricSettings(const LyricSettings& settings, SettingsSink& sink) {
  LyricSettings copy = settings;  // the field table hands out mutable places
  for (const Entry& e : Entries()) sink.WriteText(e.key.section, e.key.key, ValueText(e, copy));
}

void SaveLocalLyricFolders(const std::vector<LocalLyricFolder>& folders, SettingsSink& sink) {
  sink.DeleteSection(kLocalSection);
  sink.WriteText(kLocalSection, "pathnum", std::to_string(folders.size()));
  for (size_t i = 0; i < folders.size(); ++i) {
    sink.WriteText(kLocalSection, IndexedKey("path", i).c_str(), folders[i].path);
    sink.WriteText(kLocalSection, IndexedKey("check", i).c_str(), folders[i].checked ? "1" : "0");
  }
}

}  // namespace zl
