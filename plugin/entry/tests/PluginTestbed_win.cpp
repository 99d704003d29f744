#include "PluginTestbed_win.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "SongBytes.h"
#include "player/WinampIpcCodec.h"
#include "shared/Ownership.h"

namespace plugintest {

namespace {

const char kKey[] = "SOFTWARE\\ZOLYRIC";

void SetHome(const std::string* home) {
  zl::UniqueRegKey key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
  if (home)
    RegSetValueExA(key.Get(), "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(home->c_str()),
                   static_cast<DWORD>(home->size() + 1));
  else
    RegDeleteValueA(key.Get(), "ZOLYRIC_HOME");
}

std::string ReadHome(bool& had) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  had = RegGetValueA(HKEY_LOCAL_MACHINE, kKey, "ZOLYRIC_HOME", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS;
  return value;
}

int g_beds = 0;

}  // namespace

void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool WaitFor(const std::function<bool()>& pred, DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  while (!pred()) {
    if (GetTickCount64() > deadline) return pred();
    Sleep(10);
  }
  return true;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string TaggedSong(const std::string& artist, const std::string& title, unsigned salt) {
  return songbytes::Id3v2Tag(title, artist, "Album") + songbytes::AudioFrames(8, salt);
}

PluginTimings FastTimings() {
  PluginTimings t;
  t.songCheckMs = 30;
  t.changeSongPauseMs = 150;
  t.threadStopGraceMs = 3000;
  t.usageEventWaitMs = 1000;
  t.drainMs = 3000;
  // A list answer opens the select-lyric dialog; its countdown takes the
  // first candidate after 16 steps.
  t.selectLyricTickMs = 20;
  t.wheelConfirmMs = 50;
  t.uploadCloseMs = 100;
  return t;
}

PluginTestbed::PluginTestbed() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  m_root = std::string(temp) + "zl_plugin_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(g_beds++);
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
  m_home = m_root + "\\home";
  m_library = m_root + "\\library";
  m_queries = m_root + "\\queries.txt";
  m_requests = m_root + "\\requests.txt";
  for (const std::string& dir : {m_home + "\\face", m_home + "\\log", m_library, PluginsFolder(), m_root + "\\music"})
    std::filesystem::create_directories(dir);
  const std::string bin = ProgramFolder();
  CopyFileA((bin + "LyricCore.dll").c_str(), (m_home + "\\LyricCore.dll").c_str(), FALSE);
  CopyFileA((bin + "tagprobe.exe").c_str(), (m_home + "\\tagprobe.exe").c_str(), FALSE);
  CopyFileA((bin + "gen_zolyric.dll").c_str(), (PluginsFolder() + "\\gen_zolyric.dll").c_str(), FALSE);
  WriteFile(m_home + "\\conf.ini", "[CONFIG]\r\nRetryTime=5\r\n[PROXY]\r\nConType=0\r\n");
  PointAtPort(1);  // nothing listens there until a server starts
  m_oldHome = ReadHome(m_hadHome);
  SetHome(&m_home);
}

PluginTestbed::~PluginTestbed() {
  Close();
  m_server.Kill();
  m_logServer.Kill();
  m_recoServer.Kill();
  SetHome(m_hadHome ? &m_oldHome : nullptr);
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);  // LyricCore.dll stays mapped: its folder may stay
}

std::string PluginTestbed::AddSong(const std::string& fileName, const std::string& artist, const std::string& title) {
  const std::string path = Music(fileName);
  WriteFile(path, TaggedSong(artist, title, static_cast<unsigned>(std::hash<std::string>()(fileName))));
  return path;
}

void PluginTestbed::AddLyric(const std::string& artist, const std::string& title, const std::string& lrc) {
  WriteFile(m_library + "\\" + artist + "-" + title + ".lrc", lrc);
}

void PluginTestbed::PointAtPort(int port) {
  m_lyricPort = port;
  WriteImage();
}

void PluginTestbed::WriteImage() {
  std::string image = "[LyricServer]\r\nlyricsvr=http://127.0.0.1:" + std::to_string(m_lyricPort) +
                      "/lyric\r\n[Config]\r\nVersion=1.0\r\n";
  if (m_recoPort) image += "[RecoServer]\r\nrecosvr=http://127.0.0.1:" + std::to_string(m_recoPort) + "/reco\r\n";
  if (m_logPort) {
    image += "msgset=zl_plugin_msgset\r\n[LogServer]\r\nlogsvr=http://127.0.0.1:" + std::to_string(m_logPort) + "\r\n";
  }
  WriteFile(m_home + "\\face\\zoc.img", image);
}

bool PluginTestbed::StartLogServer(const std::string& options) {
  // Every event may be sent, however often: the service then always posts.
  char system[MAX_PATH];
  const std::string msgSet = std::string(system, GetSystemDirectoryA(system, MAX_PATH)) + "\\zl_plugin_msgset.img";
  WriteFile(msgSet, "[LogMsg]\r\nMsgNum=1\r\nMsgName0=EVENT\r\nMsgInterval0=0\r\nMsgDailyTimes0=100000\r\n");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC\\LOGMSG");
  if (!testsupport::StartServer(m_logServer, "logserver.exe", "--out \"" + m_root + "\\events.txt\" " + options,
                                m_logPort))
    return false;
  WriteImage();
  return true;
}

bool PluginTestbed::StartRecognition(const std::string& songFile, const std::string& title,
                                     const std::string& artist) {
  const std::string reco = m_root + "\\reco";
  std::filesystem::create_directories(reco);
  if (!CopyFileA((ProgramFolder() + "fpmatch.exe").c_str(), (m_home + "\\fpmatch.exe").c_str(), FALSE) ||
      !CopyFileA(Music(songFile).c_str(), (reco + "\\" + songFile).c_str(), FALSE))
    return false;
  WriteFile(reco + "\\library.txt", songFile + "\t" + title + "\t" + artist + "\tAlbum\r\n");
  if (!testsupport::StartServer(m_recoServer, "recoserver.exe", "--library \"" + reco + "\\library.txt\"", m_recoPort))
    return false;
  WriteImage();
  return true;
}

bool PluginTestbed::StartServer(const std::string& options) {
  int port = 0;
  if (!testsupport::StartServer(m_server, "lyricserver.exe",
                                "--library \"" + m_library + "\" --queries \"" + m_queries + "\" --requests \"" +
                                    m_requests + "\" " + options,
                                port))
    return false;
  PointAtPort(port);
  return true;
}

bool PluginTestbed::Start(std::vector<playerhost::PlaylistEntry> playlist, const PluginTimings& timings,
                          const std::string& skin, bool showWindows) {
  m_plugin = LoadLibraryA((PluginsFolder() + "\\gen_zolyric.dll").c_str());
  if (!m_plugin) return false;
  auto configure = reinterpret_cast<ZoLyricConfigureFn>(
      reinterpret_cast<void*>(GetProcAddress(m_plugin, kZoLyricConfigureExport)));
  m_snapshot = reinterpret_cast<ZoLyricSnapshotFn>(
      reinterpret_cast<void*>(GetProcAddress(m_plugin, kZoLyricSnapshotExport)));
  if (!configure || !m_snapshot) return false;
  ZoLyricTestOptions options{sizeof(ZoLyricTestOptions), timings};
  configure(&options);

  playerhost::HostOptions host;
  host.playlist = std::move(playlist);
  host.clock = [this] { return clock.load(); };
  host.showWindows = showWindows;
  host.pluginFolder = PluginsFolder();
  host.skinName = skin;
  host.log = [](const std::string&) {};
  std::string error;
  return m_host.Start(std::move(host), error);
}

void PluginTestbed::Close() {
  m_host.Close();
  m_snapshot = nullptr;
  if (m_plugin) FreeLibrary(m_plugin);
  m_plugin = nullptr;
}

void PluginTestbed::Press(unsigned button) { SendMessageA(m_host.MainWindow(), WM_COMMAND, button, 0); }

ZoLyricSnapshot PluginTestbed::Snapshot() {
  ZoLyricSnapshot s{};
  s.size = sizeof s;
  if (m_snapshot) m_snapshot(&s);
  return s;
}

bool PluginTestbed::WaitSnapshot(const std::function<bool(const ZoLyricSnapshot&)>& pred, DWORD ms) {
  return WaitFor([&] { return pred(Snapshot()); }, ms);
}

}  // namespace plugintest
