#include "P2PLink_win.h"

#include <windows.h>

#include "p2pwire/P2PRecords.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"
#include "shared/ProductRegistry.h"

namespace mvcontrol {

namespace {

constexpr UINT kRequestTimeoutMs = 2000;
constexpr UINT kCancelTimeoutMs = 1000;

void Send(unsigned long code, const void* data, DWORD size, UINT timeoutMs) {
  HWND server = FindWindowA(p2pwire::kServerWindowClass, nullptr);
  if (!server) return;
  COPYDATASTRUCT cds{code, size, const_cast<void*>(data)};
  DWORD_PTR result = 0;
  SendMessageTimeoutA(server, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, timeoutMs, &result);
}

}  // namespace

bool EnsureP2PServer(const std::string& home, const std::string& logPath) {
  if (FindWindowA(p2pwire::kServerWindowClass, nullptr)) return true;
  zl::UniqueHandle process(RunProgramHidden("ZoMV.exe", home.c_str(), false));
  if (!process) {
    LogWrite(logPath.c_str(), LOG_FATAL, "ZoLyricOCX", "Start P2P Server %s\\ZoMV.exe Failed.", home.c_str());
    return false;
  }
  zl::WriteProductNumber(nullptr, "P2PStarted", 1);
  return true;
}

void SendRequest(SignPair sign, const std::string& replyWindowName) {
  const p2pwire::P2PRequestRecord record = p2pwire::MakeRequestRecord(sign, replyWindowName.c_str());
  Send(p2pwire::kCodeRequest, &record, sizeof record, kRequestTimeoutMs);
}

void SendCancel(SignPair sign) { Send(p2pwire::kCodeCancel, &sign, sizeof sign, kCancelTimeoutMs); }

}  // namespace mvcontrol
