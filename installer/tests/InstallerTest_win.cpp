// The installer as a user runs it, in a Wine prefix made for this program
// alone (scripts/wine-fresh): a player in Program Files, a silent install,
// the suite working from where it landed, and a silent uninstall that takes
// away everything but the user's own files.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess_win.h"
#include "ILogSvr.h"
#include "shared/Ownership.h"

namespace fs = std::filesystem;

namespace {

// The identities the suite registers, written out here on their own.
const char kLogSvrClsid[] = "{6753D0C5-8225-4C96-8001-575510CD050D}";
const char kLogSvrIid[] = "{80CF42A1-32A2-4071-A3AC-EFB7E5555F73}";
const char kLogSvrLibId[] = "{064A7ACF-189C-419A-8C2B-A0320E55C442}";
const char kProductKey[] = "SOFTWARE\\ZOLYRIC";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZoLyric";

std::string BuildFolder() { return testsupport::BesideMe("..\\"); }

std::string KnownFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}
std::string InstallDir() { return KnownFolder(CSIDL_PROGRAM_FILES) + "\\ZoLyric"; }
std::string SystemDir() { return KnownFolder(CSIDL_SYSTEM); }

// Paths may hold Chinese (GBK) names: the narrow Win32 calls take them as they are.
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitFor(const std::function<bool()>& pred, DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  while (!pred()) {
    if (GetTickCount64() > deadline) return pred();
    Sleep(50);
  }
  return true;
}

int RunProgram(const std::string& commandLine, DWORD ms = 120000) {
  testsupport::ChildProcess p;
  if (!p.Start(commandLine, false)) return -1;
  DWORD code = 0;
  return p.Wait(ms, &code) ? static_cast<int>(code) : -2;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool KeyExists(HKEY root, const std::string& path) {
  zl::UniqueRegKey key;
  return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

std::string ReadText(HKEY root, const std::string& path, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "<none>";
  return value;
}

// Every file of an image folder, relative to it ("face\zoc.img").
std::vector<std::string> ImageFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name[0] != '.') files.push_back(fs::relative(entry.path(), folder).string());
  }
  return files;
}

// The modules a process has loaded, by full path.
std::vector<std::string> LoadedModules(HANDLE process) {
  HMODULE modules[512];
  DWORD needed = 0;
  std::vector<std::string> paths;
  if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return paths;
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
    char path[MAX_PATH] = {};
    if (GetModuleFileNameExA(process, modules[i], path, MAX_PATH)) paths.push_back(path);
  }
  return paths;
}

bool HasModule(const std::vector<std::string>& modules, const std::string& path) {
  for (const std::string& m : modules)
    if (lstrcmpiA(m.c_str(), path.c_str()) == 0) return true;
  return false;
}

struct Search {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK MatchPlayer(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == s->pid && std::string(cls) == "Winamp v1.x") {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

class InstallerTest : public testing::Test {
 protected:
  // The player stand-in installed as Winamp in `folder`, recorded in the
  // registry the way Winamp's own installer does, or not at all.
  static void InstallPlayer(const std::string& folder, bool registered) {
    ASSERT_EQ(SHCreateDirectoryExA(nullptr, (folder + "\\Plugins").c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(CopyFileA(testsupport::BesideMe("playerhost.exe").c_str(), (folder + "\\winamp.exe").c_str(), FALSE));
    ASSERT_EQ(RunProgram("\"" + folder + "\\winamp.exe\" " + (registered ? "--register" : "--unregister")), 0);
  }
  static int Install(const std::string& options) {
    return RunProgram("\"" + BuildFolder() + "ZoLyricSetup-x64.exe\" /S " + options);
  }
  // The uninstaller copies itself away and returns at once; it is done when
  // the installed-programs entry, the last thing it removes, is gone.
  static bool Uninstall(const std::string& options) {
    if (RunProgram("\"" + InstallDir() + "\\uninst.exe\" /S " + options) != 0) return false;
    return WaitFor([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, 60000);
  }

  static void ExpectImageInstalled(const std::string& player) {
    const std::string home = BuildFolder() + "image", plugins = BuildFolder() + "image-player",
                      system = BuildFolder() + "image-system";
    const struct {
      std::string image, target;
    } roots[] = {{home, InstallDir()}, {plugins, player}, {system, SystemDir()}};
    for (const auto& root : roots) {
      const std::vector<std::string> files = ImageFiles(root.image);
      EXPECT_FALSE(files.empty()) << root.image;
      for (const std::string& f : files)
        EXPECT_TRUE(ReadBytes(root.target + "\\" + f) == ReadBytes(root.image + "\\" + f)) << root.target << "\\" << f;
    }
  }

  // Nothing of the program is left: files, plug-in, registry, registrations.
  static void ExpectProgramGone(const std::string& player) {
    for (const std::string& f : ImageFiles(BuildFolder() + "image")) {
      if (f == "conf.ini") continue;
      EXPECT_FALSE(Exists(InstallDir() + "\\" + f)) << f;
    }
    EXPECT_FALSE(Exists(InstallDir() + "\\uninst.exe"));
    EXPECT_FALSE(Exists(InstallDir() + "\\log"));
    EXPECT_FALSE(Exists(player + "\\Plugins\\gen_zolyric.dll"));
    EXPECT_TRUE(Exists(player + "\\winamp.exe"));
    for (const std::string& f : ImageFiles(BuildFolder() + "image-system"))
      EXPECT_FALSE(Exists(SystemDir() + "\\" + f)) << f;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    for (const std::string& key : {std::string("CLSID\\") + kLogSvrClsid, std::string("Interface\\") + kLogSvrIid,
                                   std::string("TypeLib\\") + kLogSvrLibId, std::string("ZoLogSvr.LogSvr"),
                                   std::string("ZoLogSvr.LogSvr.1")})
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
  }
};

TEST_F(InstallerTest, SilentInstallWithoutAPlayerStopsBeforeChangingAnything) {
  InstallPlayer(KnownFolder(CSIDL_PROGRAM_FILES) + "\\Unregistered", false);
  EXPECT_EQ(Install(""), 2);
  EXPECT_FALSE(Exists(InstallDir()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
}

TEST_F(InstallerTest, InstallsForTheRegisteredPlayerAndUninstallKeepsTheUsersFiles) {
  const std::string player = KnownFolder(CSIDL_PROGRAM_FILES) + "\\Winamp";
  InstallPlayer(player, true);
  ASSERT_EQ(Install(""), 0);

  ExpectImageInstalled(player);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kProductKey, "ZOLYRIC_HOME"), InstallDir());
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "ZoLyric");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + InstallDir() + "\\uninst.exe\"");
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kLogSvrClsid + "\\InprocServer32", nullptr),
            InstallDir() + "\\ZoLogSvr.dll");

  // The event-log service, created by its class identifier, finds the
  // install home, the configuration image and the message set.
  {
    zl::ComInit com(COINIT_MULTITHREADED);
    CLSID clsid;
    ASSERT_EQ(CLSIDFromString(L"{6753D0C5-8225-4C96-8001-575510CD050D}", &clsid), S_OK);
    zl::ComPtr<ILogSvr> svr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr, svr.PutVoid()), S_OK);
    zl::UniqueBstr product(SysAllocString(L"LYRIC")), host(SysAllocString(L"WINAMP"));
    EXPECT_EQ(svr->Init(product.Get(), host.Get()), S_OK);
  }

  // The player loads the plug-in from its Plugins folder, and the plug-in the
  // engine from the install home.
  {
    const std::string song = InstallDir() + "\\lyric\\song.mp3";
    std::ofstream(song, std::ios::binary) << std::string(4096, '\0');
    testsupport::ChildProcess run;
    ASSERT_TRUE(run.Start("\"" + player + "\\winamp.exe\" --hidden --play \"" + song + "\"", false));
    std::vector<std::string> modules;
    EXPECT_TRUE(WaitFor(
        [&] {
          modules = LoadedModules(run.Handle());
          return HasModule(modules, player + "\\Plugins\\gen_zolyric.dll") &&
                 HasModule(modules, InstallDir() + "\\LyricCore.dll");
        },
        30000));
    EXPECT_TRUE(Exists(InstallDir() + "\\log\\gen_zolyric.txt"));
    Search s{GetProcessId(run.Handle()), nullptr};
    ASSERT_TRUE(WaitFor(
        [&] {
          EnumWindows(MatchPlayer, reinterpret_cast<LPARAM>(&s));
          return s.found != nullptr;
        },
        10000));
    PostMessageA(s.found, WM_COMMAND, 40001, 0);
    EXPECT_TRUE(run.Wait(30000));
    DeleteFileA(song.c_str());
  }

  // The user's own: a saved lyric and a changed setting.
  std::ofstream(InstallDir() + "\\lyric\\Mine-Song.lrc", std::ios::binary) << "[00:01.00]mine\r\n";
  WritePrivateProfileStringA("CONFIG", "RetryTime", "7", (InstallDir() + "\\conf.ini").c_str());

  ASSERT_TRUE(Uninstall(""));
  ExpectProgramGone(player);
  EXPECT_EQ(ReadBytes(InstallDir() + "\\lyric\\Mine-Song.lrc"), "[00:01.00]mine\r\n");
  EXPECT_EQ(GetPrivateProfileIntA("CONFIG", "RetryTime", 0, (InstallDir() + "\\conf.ini").c_str()), 7u);

  // A new installation leaves the user's settings as they are.
  ASSERT_EQ(Install(""), 0);
  EXPECT_EQ(GetPrivateProfileIntA("CONFIG", "RetryTime", 0, (InstallDir() + "\\conf.ini").c_str()), 7u);
  ASSERT_TRUE(Uninstall("/REMOVEUSERDATA"));
  EXPECT_FALSE(Exists(InstallDir()));
}

TEST_F(InstallerTest, PlayerFolderFromTheCommandLine) {
  // A Chinese folder name with a blank, as the users' players may have.
  const std::string player = KnownFolder(CSIDL_PROGRAM_FILES) + "\\我的 播放器";
  InstallPlayer(player, false);
  ASSERT_EQ(Install("/PLAYERDIR=\"" + player + "\""), 0);
  ExpectImageInstalled(player);
  ASSERT_TRUE(Uninstall("/REMOVEUSERDATA"));
  ExpectProgramGone(player);
  EXPECT_FALSE(Exists(InstallDir()));
}

}  // namespace
