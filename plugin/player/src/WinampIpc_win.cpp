#include "player/WinampIpc_win.h"

namespace zl {
namespace winamp {
namespace {

LRESULT Call(HWND player, WPARAM data, int code) {
  if (!player) return 0;
  return ::SendMessageA(player, WM_USER, data, static_cast<LPARAM>(code));
}

}  // namespace

void PressButton(HWND player, unsigned button) {
  if (player) ::SendMessageA(player, WM_COMMAND, button, 0);
}

void PostButton(HWND player, unsigned button) {
  if (player) ::PostMessageA(player, WM_COMMAND, button, 0);
}

PlayStatus IsPlaying(HWND player) { return DecodePlayStatus(Call(player, 0, kIpcIsPlaying)); }

bool GetOutputPositionMsBounded(HWND player, unsigned limitMs, int& positionMs) {
  if (!player) return false;
  // Asked on every repaint (every 30 ms in the mini window): no thread per
  // call. A hung player fails the call at the limit; a player on this very
  // thread answers directly.
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutA(player, WM_USER, kOutputPosition, static_cast<LPARAM>(kIpcGetOutputTime),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, limitMs, &answer))
    return false;
  positionMs = PositionFromAnswer(static_cast<LRESULT>(answer));
  return true;
}

int GetOutputPositionMs(HWND player) {
  return PositionFromAnswer(Call(player, kOutputPosition, kIpcGetOutputTime));
}

int GetOutputLengthSeconds(HWND player) {
  return PositionFromAnswer(Call(player, kOutputLength, kIpcGetOutputTime));
}

bool JumpToTime(HWND player, int ms) {
  return Call(player, static_cast<WPARAM>(ms < 0 ? 0 : ms), kIpcJumpToTime) == 0;
}

int GetListLength(HWND player) { return PositionFromAnswer(Call(player, 0, kIpcGetListLength)); }

int GetListPosition(HWND player) { return PositionFromAnswer(Call(player, 0, kIpcGetListPosition)); }

void GetPlaylistFile(HWND player, int index, char* field, size_t fieldSize) {
  const LRESULT answer = index < 0 ? 0 : Call(player, static_cast<WPARAM>(index), kIpcGetPlaylistFile);
  CopyEntryName(reinterpret_cast<const char*>(answer), field, fieldSize);
}

void DeletePlaylist(HWND player) { Call(player, 0, kIpcDeletePlaylist); }

void EnqueueFile(HWND player, const char* buffer) {
  EnqueueFileInfo info = MakeEnqueueInfo(buffer);
  Call(player, reinterpret_cast<WPARAM>(&info), kIpcEnqueueFile);
}

void RefreshPlaylistCache(HWND player) { Call(player, 0, kIpcRefreshPlaylistCache); }

std::string GetSkinName(HWND player) {
  char buffer[kSkinNameSize] = {};
  const LRESULT answer = Call(player, reinterpret_cast<WPARAM>(buffer), kIpcGetSkinName);
  buffer[kSkinNameSize - 1] = '\0';
  return DecodeSkinName(answer, buffer);
}

bool IsModernMainWindow(HWND player, HWND candidate) {
  return Call(player, reinterpret_cast<WPARAM>(candidate), kIpcIsModernMainWindow) != 0;
}

}  // namespace winamp
}  // namespace zl
