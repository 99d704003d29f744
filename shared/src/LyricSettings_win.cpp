// conf.ini through the profile functions.
#include "shared/LyricSettings.h"

#include "shared/ProfileFile.h"

namespace zl {

namespace {

class ProfileSource : public SettingsSource {
 public:
  explicit ProfileSource(const std::string& path) : file_(path) {}
  std::string Text(const char* section, const char* key, const char* def) const override {
    return file_.ReadText(section, key, def);
  }

 private:
  ProfileFile file_;
};

class ProfileSink : public SettingsSink {
 public:
  explicit ProfileSink(const std::string& path) : file_(path) {}
  // A read-only file keeps its old values; saving reports nothing.
  void WriteText(const char* section, const char* key, const std::string& value) override {
    file_.WriteText(section, key, value.c_str());
  }
  void DeleteSection(const char* section) override { file_.DeleteSection(section); }

 private:
  ProfileFile file_;
};

}  // namespace

void LoadLyricSettingsFile(const std::string& home, LyricSettings& out) {
  LoadLyricSettings(ProfileSource(LyricSettingsPath(home)), home, out);
}

void SaveLyricSettingsFile(const std::string& home, const LyricSettings& settings) {
  ProfileSink sink(LyricSettingsPath(home));
  SaveLyricSettings(settings, sink);
}

void SaveLocalLyricFoldersFile(const std::string& home, const std::vector<LocalLyricFolder>& folders) {
  ProfileSink sink(LyricSettingsPath(home));
  SaveLocalLyricFolders(folders, sink);
}

}  // namespace zl
