#include "lyricwindows/LayoutFile_win.h"

#include <windows.h>

#include "shared/ProfileFile.h"

namespace {

constexpr char kSection[] = "GUI";
// No profile value holds this: it tells a missing key from an empty one.
constexpr char kMissing[] = "\x01\x02missing";

class ProfileLayoutKeys : public LayoutKeys {
 public:
  explicit ProfileLayoutKeys(const std::string& path) : m_file(path) {}
  bool Read(const char* key, std::string& value) const override {
    value = m_file.ReadText(kSection, key, kMissing);
    return value != kMissing;
  }
  bool Write(const char* key, const std::string& value) override {
    return m_file.WriteText(kSection, key, value.c_str());
  }

 private:
  ProfileFile m_file;
};

}  // namespace

std::string LayoutFilePath(const std::string& home, LyricWindowKind window, SkinKind skin) {
  return home + LayoutFileOf(window, skin);
}

LayoutLoad LoadLayoutFile(const std::string& path, WindowLayout& layout) {
  const ProfileLayoutKeys keys(path);
  return LoadWindowLayout(keys, layout);
}

bool SaveLayoutFile(const std::string& path, const WindowLayout& layout) {
  const size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  ProfileLayoutKeys keys(path);
  return SaveWindowLayout(keys, layout);
}
