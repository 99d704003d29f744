// conf.ini as a user or another version left it: every key loads, and the
// settings saved and loaded again stay what they were saved as.
#include <map>
#include <string>

#include "FuzzCheck.h"
#include "shared/LyricSettings.h"
#include "shared/ProfileText.h"

namespace {

// The file as INI text, read the way the profile functions read it.
class TextSource : public zl::SettingsSource {
 public:
  explicit TextSource(std::string text) : text_(std::move(text)) {}
  std::string Text(const char* section, const char* key, const char* def) const override {
    std::string v;
    return zl::FindIniValue(text_, section, key, v) ? v : std::string(def ? def : "");
  }

 private:
  std::string text_;
};

// Keeps sections and keys in order of first writing, as the profile
// functions append them, and gives the file's text.
class TextSink : public zl::SettingsSink {
 public:
  void WriteText(const char* section, const char* key, const std::string& value) override {
    for (auto& s : sections_) {
      if (s.first != section) continue;
      for (auto& kv : s.second)
        if (kv.first == key) return void(kv.second = value);
      s.second.emplace_back(key, value);
      return;
    }
    sections_.push_back({section, {{key, value}}});
  }
  void DeleteSection(const char* section) override {
    for (size_t i = 0; i < sections_.size(); ++i)
      if (sections_[i].first == section) sections_.erase(sections_.begin() + static_cast<long>(i--));
  }
  std::string Text() const {
    std::string out;
    for (const auto& s : sections_) {
      out += "[" + s.first + "]\r\n";
      for (const auto& kv : s.second) out += kv.first + "=" + kv.second + "\r\n";
    }
    return out;
  }

 private:
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections_;
};

std::string SaveText(const zl::LyricSettings& settings) {
  TextSink sink;
  zl::SaveLyricSettings(settings, sink);
  zl::SaveLocalLyricFolders(settings.localFolders, sink);
  return sink.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string home = "C:\\Program Files\\ZoLyric";
  zl::LyricSettings first;
  zl::LoadLyricSettings(TextSource(text), home, first);
  FUZZ_CHECK(!first.LrcSavePath.empty());
  const std::string saved = SaveText(first);
  zl::LyricSettings second;
  zl::LoadLyricSettings(TextSource(saved), home, second);
  const std::string savedAgain = SaveText(second);
  FUZZ_CHECK(savedAgain == SaveText([&] {
    zl::LyricSettings third;
    zl::LoadLyricSettings(TextSource(savedAgain), home, third);
    return third;
  }()));
  FUZZ_CHECK(second.localFolders.size() == first.localFolders.size());
  return 0;
}
