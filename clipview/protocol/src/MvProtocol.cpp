#include "mvprotocol/MvProtocol.h"

namespace mv {
namespace {

void PutU32(uint32_t v, uint8_t* out) {
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
  out[2] = static_cast<uint8_t>(v >> 16);
  out[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetU32(const uint8_t* in) {
  return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
         static_cast<uint32_t>(in[3]) << 24;
}

bool Holds(const void* data, size_t size, size_t need) { return data != nullptr && size >= need; }

}  // namespace

uint32_t SendTimeoutMs(ToClipView code) {
  switch (code) {
    case WM_CLOSEWINDOW:
      return 2000;
    case WM_KEEP_ALIVE:
      return 20000;
    default:
      return 10000;
  }
}

void EncodeDownloadRequest(const MvDownloadRequest& request, uint8_t out[kDownloadRequestBytes]) {
  PutU32(request.flvStatus, out);
  PutU32(request.swfStatus, out + 4);
  PutU32(request.flvSign.first, out + 8);
  PutU32(request.flvSign.second, out + 12);
  PutU32(request.swfSign.first, out + 16);
  PutU32(request.swfSign.second, out + 20);
}

void EncodeInt32(int32_t value, uint8_t out[kInt32PayloadBytes]) { PutU32(static_cast<uint32_t>(value), out); }

ClipViewMessage DecodeClipViewMessage(uint64_t code, const void* data, size_t size) {
  ClipViewMessage m;
  const auto* bytes = static_cast<const uint8_t*>(data);
  switch (code) {
    case WM_DOWNLOAD:
    case WM_PRE_DOWNLOAD:
      if (!Holds(data, size, kDownloadRequestBytes)) return m;
      m.request.flvStatus = GetU32(bytes);
      m.request.swfStatus = GetU32(bytes + 4);
      m.request.flvSign = {GetU32(bytes + 8), GetU32(bytes + 12)};
      m.request.swfSign = {GetU32(bytes + 16), GetU32(bytes + 20)};
      break;
    case WM_PLAY:
      if (!Holds(data, size, kInt32PayloadBytes)) return m;
      m.video = GetU32(bytes) != 0;
      break;
    case WM_STOP_DOWNLOAD:
    case WM_STOP_PRE_DOWNLOAD:
    case WM_STOP:
    case WM_START_NEW_SONG:
    case WM_CLOSEWINDOW:
    case WM_HIDE_WINDOW:
    case WM_KEEP_ALIVE:
      break;
    default:
      return m;
  }
  m.code = static_cast<ToClipView>(code);
  m.ignored = false;
  return m;
}

PlayerMessage DecodePlayerMessage(uint64_t code, const void* data, size_t size) {
  PlayerMessage m;
  switch (code) {
    case WM_USER_CHOICE:
      if (!Holds(data, size, kInt32PayloadBytes)) return m;
      m.choice = static_cast<int32_t>(GetU32(static_cast<const uint8_t*>(data)));
      break;
    case WM_PLAYER_STOP:
    case WM_PLAYER_PLAY:
    case WM_SONG_COMPLETE:
    case WM_DOWNLOAD_P2P:
      break;
    default:
      return m;
  }
  m.code = static_cast<ToPlayer>(code);
  m.ignored = false;
  return m;
}

const char* ClipViewMessageName(uint64_t code) {
  switch (code) {
    case WM_DOWNLOAD: return "WM_DOWNLOAD";
    case WM_PRE_DOWNLOAD: return "WM_PRE_DOWNLOAD";
    case WM_STOP_DOWNLOAD: return "WM_STOP_DOWNLOAD";
    case WM_STOP_PRE_DOWNLOAD: return "WM_STOP_PRE_DOWNLOAD";
    case WM_PLAY: return "WM_PLAY";
    case WM_STOP: return "WM_STOP";
    case WM_START_NEW_SONG: return "WM_START_NEW_SONG";
    case WM_CLOSEWINDOW: return "WM_CLOSEWINDOW";
    case WM_HIDE_WINDOW: return "WM_HIDE_WINDOW";
    case WM_KEEP_ALIVE: return "WM_KEEP_ALIVE";
    default: return "unknown";
  }
}

const char* PlayerMessageName(uint64_t code) {
  switch (code) {
    case WM_PLAYER_STOP: return "WM_PLAYER_STOP";
    case WM_PLAYER_PLAY: return "WM_PLAYER_PLAY";
    case WM_SONG_COMPLETE: return "WM_SONG_COMPLETE";
    case WM_DOWNLOAD_P2P: return "WM_DOWNLOAD_P2P";
    case WM_USER_CHOICE: return "WM_USER_CHOICE";
    default: return "unknown";
  }
}

const char* ClipViewTitleForHost(const std::string& hostName) {
  if (hostName == "WMP") return "DarorAvuzovIVA";
  if (hostName == "WINAMP") return "WinampMTV";
  return "VadiZozudoVOZ";
}

const char* MiniWindowTitleFromCommandLine(const std::string& commandLine) {
  if (commandLine.find("MediaPlayer") != std::string::npos) return "WMPMini";
  if (commandLine.find("Winamp") != std::string::npos) return "WINAMPMini";
  return "REALMini";
}

const char* HostNameFromCommandLine(const std::string& commandLine) {
  if (commandLine.find("DarorAvuzovIVA") != std::string::npos) return "WMP";
  if (commandLine.find("WinampMTV") != std::string::npos) return "WINAMP";
  if (commandLine.find("VadiZozudoVOZ") != std::string::npos) return "REAL";
  return "";
}

}  // namespace mv
