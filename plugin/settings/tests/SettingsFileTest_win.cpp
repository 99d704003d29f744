// The store against conf.ini on disk, in an install home of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/SettingsStore.h"
#include "shared/Ownership.h"

namespace {

const char kKey[] = "SOFTWARE\\ZOLYRIC";

std::string ReadHomeValue(bool& had) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  had = RegGetValueA(HKEY_LOCAL_MACHINE, kKey, "ZOLYRIC_HOME", RRF_RT_REG_SZ, nullptr, value, &size) ==
        ERROR_SUCCESS;
  return value;
}

void SetHomeValue(const std::string* home) {
  zl::UniqueRegKey key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
  if (home)
    RegSetValueExA(key.Get(), "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(home->c_str()),
                   static_cast<DWORD>(home->size() + 1));
  else
    RegDeleteValueA(key.Get(), "ZOLYRIC_HOME");
}

struct SettingsFile : testing::Test {
  std::string home;
  bool hadHome = false;
  std::string oldHome;

  void SetUp() override {
    oldHome = ReadHomeValue(hadHome);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    home = std::string(temp) + "zl_settings_" + std::to_string(GetCurrentProcessId());
    std::filesystem::create_directories(home);
    SetHomeValue(&home);
  }
  void TearDown() override {
    SetHomeValue(hadHome ? &oldHome : nullptr);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
  }
  void Write(const std::string& text) {
    std::ofstream(home + "\\conf.ini", std::ios::binary) << text;
  }
  std::string Read() {
    std::ifstream in(home + "\\conf.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

}  // namespace

TEST_F(SettingsFile, AbsentFileLoadsTheDefaultsBelowTheRegisteredHome) {
  SettingsStore store;
  store.LoadSettings();
  EXPECT_EQ(store.Home(), home);
  const zl::LyricSettings v = store.Values();
  EXPECT_EQ(v.ConType, "1");
  EXPECT_EQ(v.RetryTime, 20);
  EXPECT_EQ(v.SaveLrcInOtherPath, 1);
  EXPECT_EQ(v.LrcSavePath, home + "\\lyric");
  EXPECT_TRUE(v.usefprecognise);
  EXPECT_EQ(v.font.height, -16);
  EXPECT_EQ(v.font.lyricSize, 15);
}

TEST_F(SettingsFile, EmptySavePathAndAnEmptyFolderEntry) {
  Write("[LYRIC_FILE]\r\nLrcSavePath=\r\n[LOCAL_LRC]\r\npathnum=3\r\npath0=C:\\a\r\npath1=\r\n"
        "path2=C:\\c\r\ncheck2=0\r\n");
  SettingsStore store;
  store.LoadSettings();
  const zl::LyricSettings v = store.Values();
  EXPECT_EQ(v.LrcSavePath, home + "\\lyric");
  ASSERT_EQ(v.localFolders.size(), 2u);
  EXPECT_EQ(v.localFolders[1].path, "C:\\c");
  EXPECT_FALSE(v.localFolders[1].checked);
}

TEST_F(SettingsFile, ResetThenSaveWritesTheResetValuesAndKeepsTheFolders) {
  Write("[Style]\r\nhasUsedMini=1\r\n[LOCAL_LRC]\r\npathnum=1\r\npath0=C:\\a\r\n");
  SettingsStore store;
  store.LoadSettings();
  store.ResetSettings();
  store.SaveSettings();

  SettingsStore again;
  again.LoadSettings();
  const zl::LyricSettings v = again.Values();
  EXPECT_EQ(v.font.height, -14);
  EXPECT_EQ(v.font.lyricSize, 14);
  EXPECT_EQ(v.font.rgb, 12615680);
  EXPECT_EQ(v.font.highlightrgb, 65280);
  EXPECT_EQ(v.font.backcolor, 12376814);
  EXPECT_EQ(v.font.backpiclum, 30);
  EXPECT_EQ(v.hasUsedMini, 1);
  ASSERT_EQ(v.localFolders.size(), 1u);
  EXPECT_NE(Read().find("height=-14"), std::string::npos);
}

TEST_F(SettingsFile, UnregisteredHomeFallsBackToDriveC) {
  SetHomeValue(nullptr);
  SettingsStore store;
  store.LoadSettings();
  EXPECT_EQ(store.Home(), "c:");
  EXPECT_EQ(store.FilePath(), "c:\\conf.ini");
}
