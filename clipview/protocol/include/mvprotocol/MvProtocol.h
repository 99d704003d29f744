#pragma once
// The message protocol between the lyric plug-in and the MV player ClipView:
// window identities, message codes, payload records, time-outs, and the
// decoding of what arrives. Both processes build it from this one
// definition; nothing here touches the system.
//
// Transport (the Win32 halves do it): every message is WM_COPYDATA sent with
// SendMessageTimeoutA (SMTO_NORMAL, wParam 0); the code travels in dwData,
// the payload (little-endian) in lpData/cbData.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/SignPair.h"

namespace mv {

// ---- Codes ---------------------------------------------------------------

// Plug-in to ClipView. 9, 10 and everything above 11 mean nothing.
enum ToClipView : uint32_t {
  WM_DOWNLOAD = 0,
  WM_PRE_DOWNLOAD = 1,
  WM_STOP_DOWNLOAD = 2,
  WM_STOP_PRE_DOWNLOAD = 3,
  WM_PLAY = 4,
  WM_STOP = 5,
  WM_START_NEW_SONG = 6,
  WM_CLOSEWINDOW = 7,
  WM_HIDE_WINDOW = 8,
  WM_KEEP_ALIVE = 11,
};

// ClipView to the plug-in's mini window.
enum ToPlayer : uint32_t {
  WM_PLAYER_STOP = 0,
  WM_PLAYER_PLAY = 1,
  WM_SONG_COMPLETE = 2,
  WM_DOWNLOAD_P2P = 3,
  WM_USER_CHOICE = 4,
};

// The plain message KillVideo sends to the plug-in's own mini window:
// WM_USER + 1, no parameters.
constexpr unsigned kVideoCrashMessage = 0x0400 + 1;

// m_enumUserChoice, also the WM_USER_CHOICE payload.
enum UserChoice : int32_t { choice_video = 0, choice_pic = 1 };

// ---- Time-outs (ms) ------------------------------------------------------

// SendMessageTimeoutA limit of each plug-in sender.
uint32_t SendTimeoutMs(ToClipView code);
// Every message ClipView sends to the plug-in.
constexpr uint32_t kToPlayerTimeoutMs = 2000;

// ---- Payloads --------------------------------------------------------------


// The payload of WM_DOWNLOAD and WM_PRE_DOWNLOAD. Only status 3 means that
// the resource named by the pair exists.
struct MvDownloadRequest {
  uint32_t flvStatus;
  uint32_t swfStatus;
  SignPair flvSign;
  SignPair swfSign;
};
static_assert(sizeof(MvDownloadRequest) == 24, "MvDownloadRequest is 24 bytes");
static_assert(offsetof(MvDownloadRequest, flvStatus) == 0 && offsetof(MvDownloadRequest, swfStatus) == 4 &&
                  offsetof(MvDownloadRequest, flvSign) == 8 && offsetof(MvDownloadRequest, swfSign) == 16,
              "MvDownloadRequest offsets");

constexpr uint32_t kResourcePresent = 3;
constexpr size_t kDownloadRequestBytes = 24;
constexpr size_t kInt32PayloadBytes = 4;

inline bool HasResource(uint32_t status) { return status == kResourcePresent; }

// Little-endian wire form, whatever the host's byte order.
void EncodeDownloadRequest(const MvDownloadRequest& request, uint8_t out[kDownloadRequestBytes]);
void EncodeInt32(int32_t value, uint8_t out[kInt32PayloadBytes]);

// ---- What arrives ----------------------------------------------------------

// A message ClipView received, decoded. Unknown codes and payloads shorter
// than their record come out as `ignored` (the caller still answers 0).
struct ClipViewMessage {
  bool ignored = true;
  ToClipView code = WM_KEEP_ALIVE;
  MvDownloadRequest request{};  // WM_DOWNLOAD, WM_PRE_DOWNLOAD
  bool video = false;           // WM_PLAY: non-zero payload
};
ClipViewMessage DecodeClipViewMessage(uint64_t code, const void* data, size_t size);

// A message the plug-in's mini window received, decoded the same way.
struct PlayerMessage {
  bool ignored = true;
  ToPlayer code = WM_PLAYER_STOP;
  int32_t choice = 0;  // WM_USER_CHOICE
};
PlayerMessage DecodePlayerMessage(uint64_t code, const void* data, size_t size);

// The names the logs use ("WM_DOWNLOAD", ...; "unknown" otherwise).
const char* ClipViewMessageName(uint64_t code);
const char* PlayerMessageName(uint64_t code);

// ---- Window identities ---------------------------------------------------------

// ClipView's window title for the plug-in's host name: "WMP" gives
// "DarorAvuzovIVA", "WINAMP" gives "WinampMTV", any other "VadiZozudoVOZ".
const char* ClipViewTitleForHost(const std::string& hostName);
// The plug-in's mini window title as ClipView derives it from its command
// line: "MediaPlayer" in it gives "WMPMini", else "Winamp" gives
// "WINAMPMini", else "REALMini".
const char* MiniWindowTitleFromCommandLine(const std::string& commandLine);
// ClipView's host name for logs and usage events: "DarorAvuzovIVA" in the
// command line gives "WMP", "WinampMTV" "WINAMP", "VadiZozudoVOZ" "REAL",
// anything else "".
const char* HostNameFromCommandLine(const std::string& commandLine);

// The title of ClipView's notice about a too old Flash player. While a
// window with this title exists the plug-in sends nothing to ClipView.
constexpr const char kFlashNoticeTitle[] = "NoFlash_AMBREL";

}  // namespace mv
