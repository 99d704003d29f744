#pragma once
// The MV link's decisions that need no system call: the host name it uses
// towards ClipView, which processes KillVideo may end, and what the player
// is asked to do when ClipView wants it silent or playing again.
#include <string>

namespace mvlink {

enum class HostKind { Winamp, Wmp, Real };

// The link's host name: "WINAMP" and "WMP" for those players (the engine's
// lower-case names), "REAL" for any other host, so that the mini window's
// title matches what ClipView derives from its command line.
std::string LinkHostName(const std::string& hostPlayerName);
HostKind HostKindFromLinkName(const std::string& linkHostName);

// KillVideo ends a process only when its lower-cased executable name
// contains "clipview.exe", it runs in the caller's own session and it is
// not the caller itself: other users' ClipView processes are left alone.
bool ShouldKillProcess(const std::string& exeName, unsigned long pid, unsigned long processSession,
                       unsigned long ownPid, unsigned long ownSession);

// WM_PLAYER_STOP. playerStatus is the player's status query (3 = playing on
// Windows Media Player), playing its is-playing answer.
struct PlayerStopActions {
  bool controlStop = false;
  bool controlPlay = false;      // RealPlayer: pauses
  bool postStopCommand = false;  // RealPlayer: WM_COMMAND 203 to the mini window
  bool realPaused = false;       // remember that RealPlayer was paused for ClipView
  bool alreadyStopped = false;   // only logged
};
PlayerStopActions DecidePlayerStop(HostKind host, int playerState, int playerStatus, bool playing);

// WM_PLAYER_PLAY (and the resume of OnVideoCrash).
struct PlayerPlayActions {
  bool playStart = false;       // Winamp's play button
  bool controlStop = false;     // RealPlayer paused for ClipView: stop, then play
  bool controlPlay = false;
  bool clearRealPaused = false;
  bool alreadyPlaying = false;  // only logged
};
PlayerPlayActions DecidePlayerPlay(HostKind host, int playerState, int playerStatus, bool realPausedByVideo);

}  // namespace mvlink
