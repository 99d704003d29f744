// A stand-in for ClipView as the plug-in's MV link sees it: a top-level
// window titled with the command line that writes every WM_COPYDATA it gets
// ("<code> <cbData> <payload hex>") to standin_log.txt beside the program.
// standin_mode.txt there picks a behaviour:
//   hang <code>      stops answering when that code arrives
//   slow <code> <ms> takes that long to answer that code
//   stop-player      on WM_PLAY, sends code 0 to the mini window
// The mini window's title is derived here on its own: "WINAMPMini" when the
// command line holds "Winamp", "WMPMini" for "MediaPlayer", else "REALMini".
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string g_folder;
std::string g_mode;
unsigned long g_modeCode = 0xFFFFFFFF;
unsigned long g_modeMs = 0;
std::string g_miniTitle;

void Append(const std::string& line) {
  std::ofstream out(g_folder + "standin_log.txt", std::ios::app | std::ios::binary);
  out << line << "\n";
}

LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::string line = std::to_string(copy->dwData) + " " + std::to_string(copy->cbData) + " ";
    const auto* bytes = static_cast<const unsigned char*>(copy->lpData);
    for (DWORD i = 0; bytes && i < copy->cbData; ++i) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
      line += hex;
    }
    Append(line);
    if (g_mode == "hang" && copy->dwData == g_modeCode) Sleep(INFINITE);
    if (g_mode == "slow" && copy->dwData == g_modeCode) Sleep(g_modeMs);
    if (g_mode == "stop-player" && copy->dwData == 4) {
      if (HWND mini = FindWindowA(nullptr, g_miniTitle.c_str())) {
        COPYDATASTRUCT back{};
        back.dwData = 0;
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(mini, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&back), SMTO_NORMAL, 2000, &answer);
      }
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  g_folder = self;
  g_folder.erase(g_folder.find_last_of('\\') + 1);
  std::ifstream modeFile(g_folder + "standin_mode.txt");
  std::string modeLine;
  std::getline(modeFile, modeLine);
  std::istringstream words(modeLine);
  words >> g_mode >> g_modeCode >> g_modeMs;
  const std::string title = commandLine ? commandLine : "";
  if (title.find("MediaPlayer") != std::string::npos)
    g_miniTitle = "WMPMini";
  else if (title.find("Winamp") != std::string::npos)
    g_miniTitle = "WINAMPMini";
  else
    g_miniTitle = "REALMini";
  Append("start " + title);

  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = "ClipViewStandin";
  RegisterClassA(&wc);
  CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
