#pragma once
// The real gen_zolyric.dll in the player stand-in, run in this process: an
// install home of the test's own (registered for the test, with LyricCore,
// the tag tool, a configuration image and conf.ini), the plug-in alone in a
// Plugins folder, song files with tags, and the lyric-server stand-in.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ChildProcess_win.h"
#include "PlayerHost_win.h"
#include "entry/PluginDiagnostics.h"

namespace plugintest {

// Whole files and folders.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);
// Polls until pred holds or ms have passed; the last answer.
bool WaitFor(const std::function<bool()>& pred, DWORD ms);
// The folder of this test program, with a trailing backslash.
std::string ProgramFolder();

// An mp3 file with an ID3v2 tag naming artist and title.
std::string TaggedSong(const std::string& artist, const std::string& title, unsigned salt);

// Short waits for every test; tests change them before Start().
PluginTimings FastTimings();

class PluginTestbed {
 public:
  PluginTestbed();
  ~PluginTestbed();
  PluginTestbed(const PluginTestbed&) = delete;
  PluginTestbed& operator=(const PluginTestbed&) = delete;

  const std::string& Root() const { return m_root; }
  const std::string& Home() const { return m_home; }
  std::string PluginsFolder() const { return m_root + "\\Plugins"; }
  std::string Music(const std::string& name) const { return m_root + "\\music\\" + name; }
  // A tagged song in the music folder; returns its path.
  std::string AddSong(const std::string& fileName, const std::string& artist, const std::string& title);
  // A lyric in the server's library ("Artist-Title.lrc").
  void AddLyric(const std::string& artist, const std::string& title, const std::string& lrc);

  // The lyric-server stand-in with extra options ("--hang", "--list").
  bool StartServer(const std::string& options = "");
  void StopServer() { m_server.Kill(); }
  // The configuration image names this port for the lyric server.
  void PointAtPort(int port);
  // The log-server stand-in ("--hang"); the image names it for the event-log service.
  bool StartLogServer(const std::string& options = "");
  std::vector<std::string> Queries() const { return ReadLines(m_queries); }
  std::string Requests() const { return ReadFile(m_requests); }

  // Loads the plug-in from the Plugins folder, sets its waits, starts the player.
  bool Start(std::vector<playerhost::PlaylistEntry> playlist, const PluginTimings& timings = FastTimings(),
             const std::string& skin = "", bool showWindows = false);
  void Close();
  playerhost::CPlayerHost& Host() { return m_host; }
  void Press(unsigned button);  // a player button, as the user clicks it
  std::atomic<int64_t> clock{1000000};  // the player's simulated time

  ZoLyricSnapshot Snapshot();
  bool WaitSnapshot(const std::function<bool(const ZoLyricSnapshot&)>& pred, DWORD ms = 15000);
  std::string LyricLog() const { return ReadFile(m_home + "\\log\\log_lyric.txt"); }

 private:
  std::string m_root, m_home, m_library, m_queries, m_requests;
  bool m_hadHome = false;
  std::string m_oldHome;
  testsupport::ChildProcess m_server;
  testsupport::ChildProcess m_logServer;
  int m_lyricPort = 1;
  int m_logPort = 0;
  void WriteImage();
  HMODULE m_plugin = nullptr;
  ZoLyricSnapshotFn m_snapshot = nullptr;
  playerhost::CPlayerHost m_host;
};

}  // namespace plugintest
