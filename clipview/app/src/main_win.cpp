// ClipView.exe: the MV player window. Its command line is its window title,
// chosen by the plug-in after its host player.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "PlainVideoResources_win.h"
#include "app/Startup_win.h"
#include "app/StartupRules.h"
#include "flv/FileHook.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "window/DlgVideoMain_win.h"
#include "window/FlvVideoPlayback_win.h"

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
  LogWrite(logPath.c_str(), LOG_KEYINFO, "Startup", "ClipView %s, host %s", title.c_str(),
           mv::HostNameFromCommandLine(title));
  CleanTempFolder();
  SetP2PShareSpace(home, logPath);
  StartP2PServer(home);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  VideoDlgOptions options;
  options.commandLine = title;
  options.home = home;
  options.logPath = logPath;
  PlayerSender sender(title, logPath);
  PlainVideoResources resources(sender, logPath);
  CDlgVideoMain dialog(options, resources, [](FlvPlaybackHost& host) { return MakeFlvVideoPlayback(host); });
  HWND window = dialog.Create(instance);
  if (window) {
    resources.Attach(window);
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
