#pragma once
// The user's settings kept in "<home>\conf.ini". The plug-in and the engine
// read the same file with the same keys and defaults, so both load it through
// this one record.
//
// INI rules: integers are decimal, booleans are written "1"/"0" and read as
// true for "true", "yes" or a non-zero number. Every key is optional.
#include <cstddef>
#include <string>
#include <vector>

namespace zl {

// The lyric look: [LYRIC_FONT], [BACK_GROUND] and four [Style] keys.
struct LyricFontSettings {
  // [Style]
  int scrollType = 0;  // 0 vertical, 1 horizontal
  int lyricSize = 15;
  bool UserDefineFont = false;
  bool IsKalaOk = false;
  // [LYRIC_FONT]
  std::string facename = "@Fixedsys";
  int weight = 400;
  int italic = 0;
  int underline = 0;
  int strikeout = 0;
  int height = -16;       // logical units; negative: character height
  int rgb = 0;            // Windows colour value, red in the low byte
  int highlightrgb = 0;
  // [BACK_GROUND]
  int bktype = 0;  // 0 singer's picture, 1 picture file, 2 solid colour, 3 none
  std::string picpath;
  int backcolor = 0;
  int backpiclum = 0;
};

// One entry of [LOCAL_LRC]: a folder searched for lyric files.
struct LocalLyricFolder {
  std::string path;
  bool checked = true;  // the folder's check box in the settings list
};

struct LyricSettings {
  // [PROXY]
  std::string ConType = "1";  // "0" direct, "1" browser's proxy, "2" the proxy below
  std::string ProxyServer;
  std::string ProxyPort;
  std::string UserName;
  std::string Password;
  // [CONFIG]
  int RetryTime = 20;  // seconds a server request may take
  // [LYRIC_FILE]
  int UpdateSongInfo = 0;
  int SaveLrcFileAsSongFileName = 0;
  int SaveLrcInSongPath = 0;
  int SaveLrcInOtherPath = 1;
  std::string LrcSavePath;  // home + "\lyric" unless set
  // [FP_RECOGNISE]
  bool autofprecognise = false;
  bool usefprecognise = true;
  // [Style] usage flags ([Stype] for RightBtn, spelled so in the file)
  bool wheelTip = false;
  int hasUsedMini = 0;
  int lyricMaybeWrong = 0;
  int enableWheel = 1;
  int haswheel = 0;
  int RightBtn = 0;

  LyricFontSettings font;
  std::vector<LocalLyricFolder> localFolders;  // [LOCAL_LRC], empty entries dropped
};

// Where the settings come from: the value of a key, or `def` when the key
// is missing (a key present with an empty value gives "").
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  virtual std::string Text(const char* section, const char* key, const char* def) const = 0;
};

// Where saved settings go.
class SettingsSink {
 public:
  virtual ~SettingsSink() = default;
  virtual void WriteText(const char* section, const char* key, const std::string& value) = 0;
  virtual void DeleteSection(const char* section) = 0;
};

enum class SettingType { Text, Int, Bool };

// One key of conf.ini. `readBytes` is the buffer the value is read into
// (texts keep at most readBytes - 1 bytes); `reset` is null for the keys
// that the reset button keeps.
struct SettingKey {
  const char* section;
  const char* key;
  SettingType type;
  const char* def;
  const char* reset;
  size_t readBytes;
  bool font;  // part of the lyric look
};

// Every key except [LOCAL_LRC], in load (and save) order.
const std::vector<SettingKey>& LyricSettingKeys();

// "<home>\lyric": the lyric save folder when none is set.
std::string DefaultLrcSavePath(const std::string& home);
// "<home>\conf.ini".
std::string LyricSettingsPath(const std::string& home);

// Loads every key in order, then the local lyric folders. Missing keys take
// their defaults; an empty or unusable LrcSavePath takes home + "\lyric".
void LoadLyricSettings(const SettingsSource& source, const std::string& home, LyricSettings& out);

// The local lyric folders: "pathnum", then "path<i>"/"check<i>" for i below
// it. Empty folder entries, and entries too long to name a folder, are
// skipped.
std::vector<LocalLyricFolder> LoadLocalLyricFolders(const SettingsSource& source);

// The reset button: the reset values; usage flags and folders stay.
void ResetLyricSettings(const std::string& home, LyricSettings& settings);

// Writes every key except [LOCAL_LRC] in the table's order.
void SaveLyricSettings(const LyricSettings& settings, SettingsSink& sink);
// Replaces the [LOCAL_LRC] section with the folder list.
void SaveLocalLyricFolders(const std::vector<LocalLyricFolder>& folders, SettingsSink& sink);

// ---- Windows: conf.ini through the profile functions ----------------------

// Loads "<home>\conf.ini" (a missing file gives the defaults).
void LoadLyricSettingsFile(const std::string& home, LyricSettings& out);
void SaveLyricSettingsFile(const std::string& home, const LyricSettings& settings);
void SaveLocalLyricFoldersFile(const std::string& home, const std::vector<LocalLyricFolder>& folders);

}  // namespace zl
