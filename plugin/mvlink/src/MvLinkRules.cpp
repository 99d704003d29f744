#include "mvlink/MvLinkRules.h"

#include <algorithm>
#include <cctype>

namespace mvlink {
namespace {
constexpr int kStatusPlaying = 3;
constexpr int kPlayerStopped = 2;
}  // namespace

std::string LinkHostName(const std::string& hostPlayerName) {
  if (hostPlayerName == "winamp") return "WINAMP";
  if (hostPlayerName == "wmp") return "WMP";
  return "REAL";
}

HostKind HostKindFromLinkName(const std::string& linkHostName) {
  if (linkHostName == "WINAMP") return HostKind::Winamp;
  if (linkHostName == "WMP") return HostKind::Wmp;
  return HostKind::Real;
}

bool ShouldKillProcess(const std::string& exeName, unsigned long pid, unsigned long processSession,
                       unsigned long ownPid, unsigned long ownSession) {
  std::string lower = exeName;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("clipview.exe") != std::string::npos && pid != ownPid && processSession == ownSession;
}

PlayerStopActions DecidePlayerStop(HostKind host, int playerState, int playerStatus, bool playing) {
  PlayerStopActions a;
  if (host == HostKind::Wmp) {
    a.controlStop = playerStatus == kStatusPlaying;
    return a;
  }
  if (playerState == kPlayerStopped) {
    a.alreadyStopped = true;
    return a;
  }
  if (!playing) return a;
  if (host == HostKind::Real) {
    a.controlPlay = true;
    a.postStopCommand = true;
    a.realPaused = true;
  } else {
    a.controlStop = true;
  }
  return a;
}

PlayerPlayActions DecidePlayerPlay(HostKind host, int playerState, int playerStatus, bool realPausedByVideo) {
  PlayerPlayActions a;
  switch (host) {
    case HostKind::Winamp:
      if (playerState != 0)
        a.playStart = true;
      else
        a.alreadyPlaying = true;
      break;
    case HostKind::Real:
      if (realPausedByVideo) {
        a.controlStop = true;
        a.controlPlay = true;
        a.clearRealPaused = true;
        break;
      }
      a.controlPlay = playerStatus != kStatusPlaying;
      break;
    case HostKind::Wmp:
      a.controlPlay = playerStatus != kStatusPlaying;
      break;
  }
  return a;
}

}  // namespace mvlink
