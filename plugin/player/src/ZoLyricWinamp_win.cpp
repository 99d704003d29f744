#include "player/ZoLyricWinamp.h"

#include <cstring>

#include "player/WinampIpc_win.h"
#include "player/PlayerListener.h"
#include "shared/Logger.h"

namespace wa = zl::winamp;

static_assert(kPlayerFail == E_FAIL && kPlayerNotImpl == E_NOTIMPL, "HRESULT values");
static_assert(sizeof(PlayerResult) == sizeof(HRESULT), "HRESULT size");

namespace {
constexpr const char* kModule = "CZoLyric_WINAMP";
// The minimum log level lets only FATAL and KeyInfo lines through; these
// lines trace the player calls and belong in the file.
constexpr unsigned kLevel = LOG_KEYINFO;
}  // namespace

CZoLyric_WINAMP::CZoLyric_WINAMP(HWND player, std::string logPath, unsigned positionLimitMs)
    : m_hPlayer(player && ::IsWindow(player) ? player : nullptr),
      m_strLogPath(std::move(logPath)),
      m_uPositionLimitMs(positionLimitMs) {
  Log("enter Constructer");
  Log("OUT Constructer");
}

CZoLyric_WINAMP::~CZoLyric_WINAMP() {
  Log("enter Destructer");
  m_hPlayer = nullptr;
  Log("out Destructer");
}

void CZoLyric_WINAMP::Log(const char* text) const {
  LogWrite(m_strLogPath.c_str(), kLevel, kModule, "%s", text);
}

// ---- Control interface -----------------------------------------------------

PlayerResult CZoLyric_WINAMP::Control_CanPlay(int& canPlay) {
  canPlay = 1;  // Winamp always takes a play command
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_Play() {
  Log("Control_Play");
  wa::PressButton(m_hPlayer, wa::kButtonPause);  // the pause button resumes a paused song
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_Play_Start() {
  Log("Control_Play_Start");
  wa::PressButton(m_hPlayer, wa::kButtonPlay);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_Pause() {
  Log("Control_Pause");
  wa::PressButton(m_hPlayer, wa::kButtonPause);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_IsPlaying(int& playing) {
  playing = wa::IsPlaying(m_hPlayer) == wa::PlayStatus::Playing ? 1 : 0;
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_Stop() {
  Log("Control_Stop");
  wa::PressButton(m_hPlayer, wa::kButtonStop);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_Close() {
  Log("Control_Close");
  wa::PostButton(m_hPlayer, wa::kButtonClose);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_NextSong() {
  Log("Control_NextSong");
  wa::PressButton(m_hPlayer, wa::kButtonNext);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_PreviousSong() {
  Log("Control_PreviousSong");
  wa::PressButton(m_hPlayer, wa::kButtonPrevious);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_SetSongTime(int ms) {
  LogWrite(m_strLogPath.c_str(), kLevel, kModule, "Control_SetSongTime %d", ms);
  wa::JumpToTime(m_hPlayer, ms);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_SetWindowMinimize() {
  Log("Control_SetWindowMinimize");
  if (m_hPlayer) ::ShowWindow(m_hPlayer, SW_SHOWMINIMIZED);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_Reserved() { return kPlayerNotImpl; }

PlayerResult CZoLyric_WINAMP::Control_SetWindowRestore() {
  Log("Control_SetWindowRestore");
  if (m_hPlayer) ::ShowWindow(m_hPlayer, SW_RESTORE);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Control_AddToPlayList(const std::vector<std::string>& paths) {
  Log("Control_AddToPlayList");
  for (const std::string& path : paths) {
    LogWrite(m_strLogPath.c_str(), kLevel, kModule, "Control_AddToPlayList element:%s", path.c_str());
  }
  return SetPlayList(paths);
}

// ---- Query interface -------------------------------------------------------

PlayerResult CZoLyric_WINAMP::Query_SongInfo(SongInfo& info) {
  std::memset(&info, 0, sizeof info);
  if (wa::IsPlaying(m_hPlayer) != wa::PlayStatus::Playing) return kPlayerFail;
  const int position = wa::GetListPosition(m_hPlayer);
  wa::GetPlaylistFile(m_hPlayer, position, info.path, sizeof info.path);
  info.duration = wa::DurationMsFromSeconds(wa::GetOutputLengthSeconds(m_hPlayer));
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Query_NextSongInfo(SongInfo& info) {
  Log("Query_NextSongInfo");
  std::memset(&info, 0, sizeof info);
  const int position = wa::GetListPosition(m_hPlayer);
  const int next = wa::NextEntryIndex(position, GetPlaylistLength());
  if (next >= 0) wa::GetPlaylistFile(m_hPlayer, next, info.path, sizeof info.path);
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Query_SongListInfo(std::vector<std::string>& list) {
  Log("Query_SongListInfo");
  const int length = GetPlaylistLength();
  for (int i = 0; i < length; ++i) {
    char path[sizeof(SongInfo::path)];
    wa::GetPlaylistFile(m_hPlayer, i, path, sizeof path);
    if (path[0]) list.push_back(path);  // the list shrank meanwhile
  }
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Query_PlayPosition(int& positionMs) {
  int answer = 0;
  m_iLastPosition.store(wa::GetOutputPositionMsBounded(m_hPlayer, m_uPositionLimitMs, answer) ? answer : 0);
  positionMs = m_iLastPosition.load();
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Query_Reserved1() { return kPlayerNotImpl; }
PlayerResult CZoLyric_WINAMP::Query_Reserved2() { return kPlayerNotImpl; }
PlayerResult CZoLyric_WINAMP::Query_Reserved3() { return kPlayerNotImpl; }

PlayerResult CZoLyric_WINAMP::Query_PlayerStatus() {
  Log("Query_PlayerStatus");
  return kPlayerOk;
}

// ---- Further operations ----------------------------------------------------

int CZoLyric_WINAMP::GetPlaylistLength() {
  Log("GetPlaylistLength");
  const int length = wa::GetListLength(m_hPlayer);
  return length > 0 ? length : 0;
}

PlayerResult CZoLyric_WINAMP::SetPlayList(const std::vector<std::string>& paths) {
  Log("SetPlayList");
  wa::DeletePlaylist(m_hPlayer);
  for (const std::string& path : paths) {
    char buffer[wa::kEnqueuePathSize];
    if (!wa::EncodeEnqueuePath(path, buffer)) {
      LogWrite(m_strLogPath.c_str(), LOG_FATAL, kModule,
               "SetPlayList: left out a path the player cannot take (%u bytes)",
               static_cast<unsigned>(path.size()));
      continue;
    }
    wa::EnqueueFile(m_hPlayer, buffer);
  }
  wa::RefreshPlaylistCache(m_hPlayer);
  if (GetPlaylistLength() > 0) Control_Play();
  return kPlayerOk;
}

PlayerResult CZoLyric_WINAMP::Query_SkinName(std::string& skinName) {
  skinName = wa::GetSkinName(m_hPlayer);
  return kPlayerOk;
}

// ---- Event source ----------------------------------------------------------

bool CZoLyric_WINAMP::AddListener(CPlayerListener* listener) { return m_listeners.Add(listener); }
bool CZoLyric_WINAMP::RemoveListener(CPlayerListener* listener) { return m_listeners.Remove(listener); }
void CZoLyric_WINAMP::RemoveAllListeners() { m_listeners.Clear(); }

void CZoLyric_WINAMP::Send_OnPlay() {
  m_listeners.Broadcast([](CPlayerListener& l) { l.OnPlay(); });
}
void CZoLyric_WINAMP::Send_OnChangeSong() {
  m_listeners.Broadcast([](CPlayerListener& l) { l.OnChangeSong(); });
}
void CZoLyric_WINAMP::Send_OnStop() {
  m_listeners.Broadcast([](CPlayerListener& l) { l.OnStop(); });
}
void CZoLyric_WINAMP::Send_OnWindowMinimize() {
  m_listeners.Broadcast([](CPlayerListener& l) { l.OnWindowMinimize(); });
}
void CZoLyric_WINAMP::Send_OnWindowRestore() {
  m_listeners.Broadcast([](CPlayerListener& l) { l.OnWindowRestore(); });
}
void CZoLyric_WINAMP::Send_OnPlayerWindowClose() {
  m_listeners.Broadcast([](CPlayerListener& l) { l.OnPlayerWindowClose(); });
}
void CZoLyric_WINAMP::Send_OnSkinChanged(const char* skinName) {
  const std::string name = skinName ? skinName : "";
  m_listeners.Broadcast([&name](CPlayerListener& l) { l.OnSkinChanged(name.c_str()); });
}
