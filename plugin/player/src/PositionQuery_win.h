#pragma once
// The play position asked on a worker thread with a time limit, so a busy
// or hung player never blocks the caller (a lyric window repainting) for
// longer than the limit.
#include <windows.h>

namespace zl {
namespace winamp {

enum class PositionOutcome {
  Answered,  // positionMs holds the player's answer
  TimedOut,  // the worker was terminated; positionMs untouched
  NoThread,  // the worker could not be started; positionMs untouched
};

PositionOutcome QueryPositionBounded(HWND player, DWORD limitMs, int& positionMs);

}  // namespace winamp
}  // namespace zl
