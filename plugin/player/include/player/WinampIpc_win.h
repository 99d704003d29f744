#pragma once
// One function per player message; the rest of the plug-in (the player
// object, the window hooks) talks to Winamp only through these. Each call
// waits until the player's UI thread has answered (except PostButton); a
// null window answers 0.
#include <windows.h>

#include <string>

#include "player/WinampIpcCodec.h"

namespace zl {
namespace winamp {

void PressButton(HWND player, unsigned button);  // WM_COMMAND, sent
void PostButton(HWND player, unsigned button);   // WM_COMMAND, posted

PlayStatus IsPlaying(HWND player);
int GetOutputPositionMs(HWND player);  // -1 while stopped
// The same within limitMs; false (positionMs untouched) when the player did
// not answer in time.
bool GetOutputPositionMsBounded(HWND player, unsigned limitMs, int& positionMs);
int GetOutputLengthSeconds(HWND player);
bool JumpToTime(HWND player, int ms);
int GetListLength(HWND player);
int GetListPosition(HWND player);
// Copies the file of entry `index` into field (empty when there is none).
void GetPlaylistFile(HWND player, int index, char* field, size_t fieldSize);
void DeletePlaylist(HWND player);
void EnqueueFile(HWND player, const char* buffer);
void RefreshPlaylistCache(HWND player);
std::string GetSkinName(HWND player);
bool IsModernMainWindow(HWND player, HWND candidate);

}  // namespace winamp
}  // namespace zl
