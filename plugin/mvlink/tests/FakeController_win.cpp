#include "FakeController_win.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace mvlinktest {
namespace {
constexpr UINT kArm = WM_APP + 1, kKill = WM_APP + 2;
}

int FakePlayer::Count(const std::string& call) const {
  const auto calls = Calls();
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::string FakeController::LogText() const {
  std::ifstream in(m_log, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

FakeWindows::FakeWindows(const std::string& miniTitle, UINT heartbeatMs) {
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_thread = std::thread([this, miniTitle, heartbeatMs, ready] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MvLinkFakeLyricWindow";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, wc.lpszClassName, "fake lyric window", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    HWND mini = CreateWindowExA(0, wc.lpszClassName, miniTitle.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    SetWindowLongPtrA(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(mini, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (heartbeatMs) SetTimer(mini, 100, heartbeatMs, nullptr);
    m_threadId.store(GetCurrentThreadId());
    m_main.store(main);
    m_mini.store(mini);
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(mini);
    DestroyWindow(main);
  });
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
}

FakeWindows::~FakeWindows() {
  PostThreadMessageA(m_threadId.load(), WM_QUIT, 0, 0);
  m_thread.join();
}

void FakeWindows::SetMainTimer(UINT_PTR id, UINT ms) {
  ++prefetchArmed;
  PostMessageA(m_main.load(), kArm, id, ms);
}

void FakeWindows::KillMainTimer(UINT_PTR id) {
  ++prefetchKilled;
  PostMessageA(m_main.load(), kKill, id, 0);
}

LRESULT CALLBACK FakeWindows::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<FakeWindows*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && self->m_owner) {
    if (w == self->m_mini.load()) {
      LRESULT result = 0;
      if (self->m_owner->MvLink().OnMiniWindowMessage(w, msg, wp, lp, result)) return result;
      if (msg == WM_COMMAND) self->m_owner->OnCommand(w, LOWORD(wp));
    } else if (msg == kArm) {
      SetTimer(w, wp, static_cast<UINT>(lp), nullptr);
      return 0;
    } else if (msg == kKill) {
      KillTimer(w, wp);
      return 0;
    } else if (msg == WM_TIMER) {
      self->m_owner->OnTimer(w, wp);
      return 0;
    }
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace mvlinktest
