#include "window/PlayerSender_win.h"

#include <windows.h>

#include "shared/Logger.h"

namespace clipview {
namespace {
constexpr char kTag[] = "MTV Send MSG";
}

PlayerSender::PlayerSender(const std::string& commandLine, std::string logPath)
    : m_miniTitle(mv::MiniWindowTitleFromCommandLine(commandLine)), m_logPath(std::move(logPath)) {}

void PlayerSender::Send(const char* name, mv::ToPlayer code, const void* data, unsigned long size) {
  LogWrite(m_logPath.c_str(), LOG_KEYINFO, kTag, "%s", name);
  HWND mini = FindWindowA(nullptr, m_miniTitle.c_str());
  if (!mini) return;
  COPYDATASTRUCT copy{};
  copy.dwData = code;
  copy.cbData = size;
  copy.lpData = size ? const_cast<void*>(data) : nullptr;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(mini, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                           mv::kToPlayerTimeoutMs, &answer))
    LogWrite(m_logPath.c_str(), LOG_KEYINFO, kTag, "%s timeout", name);
}

void PlayerSender::SendStopPlayerMsg() { Send("SendStopPlayerMsg", mv::WM_PLAYER_STOP, nullptr, 0); }
void PlayerSender::SendPlayerPlayMsg() { Send("SendPlayerPlayMsg", mv::WM_PLAYER_PLAY, nullptr, 0); }
void PlayerSender::SendSongCompleteMsg() { Send("SendSongCompleteMsg", mv::WM_SONG_COMPLETE, nullptr, 0); }
void PlayerSender::SendDownloadP2PMsg() { Send("SendDownloadP2PMsg", mv::WM_DOWNLOAD_P2P, nullptr, 0); }
void PlayerSender::SendUserChoiceMsg(int choice) {
  uint8_t bytes[mv::kInt32PayloadBytes];
  mv::EncodeInt32(choice, bytes);
  Send("SendUserChoiceMsg", mv::WM_USER_CHOICE, bytes, sizeof bytes);
}

}  // namespace clipview
