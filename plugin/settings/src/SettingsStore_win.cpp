// conf.ini on disk, and the home it lies in.
#include "settings/SettingsStore.h"

#include "shared/InstallHome.h"
#include "shared/ProfileFile.h"

namespace {

// The home when it is not registered: the settings still load and save.
constexpr const char* kHomeFallback = "c:";

class FileSource : public zl::SettingsSource {
 public:
  explicit FileSource(const std::string& path) : m_file(path) {}
  std::string Text(const char* section, const char* key, const char* def) const override {
    return m_file.ReadText(section, key, def);
  }

 private:
  ProfileFile m_file;
};

}  // namespace

void SettingsStore::LoadSettings() {
  std::string home;
  if (!ReadInstallHome(home)) home = kHomeFallback;
  LoadSettingsFrom(home);
}

void SettingsStore::LoadSettingsFrom(const std::string& home) {
  Load(FileSource(zl::LyricSettingsPath(home)), home);
}

void SettingsStore::SaveSettings() const {
  const zl::LyricSettings values = Values();
  zl::SaveLyricSettingsFile(m_home, values);
}

void SettingsStore::SaveLocalFolders() const {
  const zl::LyricSettings values = Values();
  zl::SaveLocalLyricFoldersFile(m_home, values.localFolders);
}
