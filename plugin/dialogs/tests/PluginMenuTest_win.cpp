// The plug-in in the player stand-in: a right click on the lyric window
// opens the context menu, and its "Options" item the settings dialog, with
// the texts of the installed string table.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "DialogDriver_win.h"
#include "DialogIds.h"
#include "PlayerHost_win.h"
#include "WinTestSupport.h"
#include "settings/StringTable.h"

using namespace dlgtest;

namespace {

std::string BuildFolder() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path = exe;
  path.resize(path.find_last_of('\\'));
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The plug-in's lyric window: the visible top-level window of the player's
// thread that is neither one of the player's own nor a dialog or menu.
BOOL CALLBACK MatchLyricWindow(HWND window, LPARAM param) {
  char buffer[64] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  const std::string name = buffer;
  for (const char* other : {"Winamp v1.x", "PlayerHostEqualizer", "PlayerHostPlaylist", "PlayerHostModernSkin",
                            "#32770", "#32768"})
    if (name == other) return TRUE;
  if (!IsWindowVisible(window) || GetParent(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

HWND FindLyricWindow(DWORD threadId) {
  HWND found = nullptr;
  EnumThreadWindows(threadId, &MatchLyricWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void Key(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 0);
  PostMessageA(window, WM_KEYUP, key, 0xC0000000);
}

}  // namespace

TEST(PluginMenu, RightClickMenuOpensTheSettingsWithTheTableTexts) {
  zltest::ScopedInstallHome home;
  const std::string bin = BuildFolder() + "bin\\";
  ASSERT_TRUE(CopyFileA((bin + "LyricCore.dll").c_str(), (home.Home() + "\\LyricCore.dll").c_str(), FALSE));
  CreateDirectoryA((home.Home() + "\\config").c_str(), nullptr);
  const std::string table = Slurp(BuildFolder() + "config\\StringConfig.ini");
  std::ofstream(home.Home() + "\\config\\StringConfig.ini", std::ios::binary) << table;
  StringTable texts;
  texts.Parse(table);
  const std::string plugins = home.Home() + "\\Plugins";
  CreateDirectoryA(plugins.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((bin + "gen_zolyric.dll").c_str(), (plugins + "\\gen_zolyric.dll").c_str(), FALSE));
  const std::string song = home.Home() + "\\song.mp3";
  std::ofstream(song, std::ios::binary) << std::string(4096, '\0');

  playerhost::CPlayerHost host;
  playerhost::HostOptions options;
  options.playlist = {{song, "song", 60}};
  options.playAtOnce = true;
  options.pluginFolder = plugins;
  options.log = [](const std::string&) {};
  std::string error;
  ASSERT_TRUE(host.Start(options, error)) << error;
  const DWORD ui = host.UiThreadId();
  HWND lyric = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (lyric = FindLyricWindow(ui)) != nullptr; }, 20000));

  PostMessageA(lyric, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = FindPopupMenu(ui)) != nullptr; }));
  Screenshot(popup, "plugin_context_menu");
  // From the bottom: "Help", then "Options".
  Key(popup, VK_UP);
  Key(popup, VK_UP);
  Key(popup, VK_RETURN);
  HWND settings = WaitForDialog(ui, texts.Get("AmbrelConfig"));
  ASSERT_TRUE(settings);
  HWND page = VisiblePage(settings);
  ASSERT_TRUE(page);
  EXPECT_EQ(ItemText(page, IDC_FT_GROUP), texts.Get("LyricFont"));
  EXPECT_EQ(ItemText(settings, IDC_ST_RESET), texts.Get("ResetAll"));
  Screenshot(settings, "plugin_settings");
  Click(settings, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(settings); }));
  host.Close();
}
