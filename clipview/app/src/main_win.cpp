// ClipView.exe: the MV player window. Its command line is its window title,
// chosen by the plug-in after its host player.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/Startup_win.h"
#include "app/StartupRules.h"
#include "flv/FileHook.h"
#include "p2p/P2PServer.h"
#include "p2p/TempFolder.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "window/DlgVideoMain_win.h"
#include "window/FlvVideoPlayback_win.h"
#include "window/P2PVideoResources_win.h"

using namespace clipview;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  OleInitialize(nullptr);
  std::string home;
  ReadInstallHome(home);
  const std::string logPath = home.empty() ? "" : home + "\\log\\log_clip_view.txt";

  const std::string version = FlashControlVersion();
  if (FlashTooOld(FlashMajorVersion(version))) {
    LogWrite(logPath.c_str(), LOG_KEYINFO, "Startup", "Flash control version \"%s\"", version.c_str());
    ShowFlashNotice(logPath);
    OleUninitialize();
    return 0;
  }

  const std::string title = commandLine ? commandLine : "";
  EnsureProductKeys();
  P2PManConfig p2p;
  p2p.commandLine = title;  // names the P2P reply window
  p2p.hostName = mv::HostNameFromCommandLine(title);
  p2p.logPath = logPath;
  p2p.interfaceLogPath = home.empty() ? "" : home + "\\log\\p2pinterface.log";
  LogWrite(logPath.c_str(), LOG_KEYINFO, "Startup", "ClipView %s, host %s", title.c_str(), p2p.hostName.c_str());
  CleanTempFolder(UserTempFolder());
  SetP2PShareSpace(home, logPath);
  StartP2PServer(p2p.interfaceLogPath);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  VideoDlgOptions options;
  options.commandLine = title;
  options.home = home;
  options.logPath = logPath;
  CDlgVideoMain dialog(
      options, [&p2p](HWND window, P2PManHost& host) { return MakeP2PVideoResources(window, host, p2p); },
      [](FlvPlaybackHost& host) { return MakeFlvVideoPlayback(host); });
  if (dialog.Create(instance)) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  OleUninitialize();
  FileHookOff();
  return 0;
}
