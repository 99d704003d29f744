#include "controller/UiDispatcher_win.h"

#include <memory>

namespace {

constexpr char kClassName[] = "ZoLyricUiDispatcher";
constexpr UINT kRunMessage = WM_APP + 0x2A0;

struct Job {
  std::function<void()> work;
};

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

UiDispatcher::UiDispatcher() : m_uiThread(GetCurrentThreadId()) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ThisModule();
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // fails harmlessly when it is registered already
  m_window.Reset(CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
}

UiDispatcher::~UiDispatcher() {
  m_window.Reset();
  // A plug-in unloaded and loaded again registers the class anew.
  UnregisterClassA(kClassName, ThisModule());
}

LRESULT CALLBACK UiDispatcher::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != kRunMessage) return DefWindowProcA(window, msg, wParam, lParam);
  std::unique_ptr<Job> job(reinterpret_cast<Job*>(lParam));
  try {
    job->work();
  } catch (...) {
    return 0;
  }
  return 1;
}

bool UiDispatcher::Run(std::function<void()> work, DWORD limitMs) {
  if (!m_window) return false;
  if (OnUiThread()) {
    try {
      work();
    } catch (...) {
      return false;
    }
    return true;
  }
  auto* job = new (std::nothrow) Job;
  if (!job) return false;
  job->work = std::move(work);
  DWORD_PTR answer = 0;
  SetLastError(0);
  if (SendMessageTimeoutA(m_window.Get(), kRunMessage, 0, reinterpret_cast<LPARAM>(job), SMTO_NORMAL, limitMs,
                          &answer)) {
    return answer == 1;
  }
  // NOTE: after a time-out the UI thread may still run the job, and frees it
  // then; only a job that never got there is ours to free.
  if (GetLastError() != ERROR_TIMEOUT) delete job;
  return false;
}
