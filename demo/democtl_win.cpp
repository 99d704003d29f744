// democtl: the demo's hands and eyes on the running player.
//   democtl windows          every window of the player's process, one a line:
//                            KIND VISIBLE LEFT TOP WIDTH HEIGHT CLASS|TITLE
//                            (KIND: player, equalizer, playlist or other)
//   democtl minimize|restore the player's main window, as its title bar does
//   democtl next|close       the player's buttons
// Exit code 1 when no player window exists.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kPlayerClass[] = "Winamp v1.x";
constexpr WPARAM kButtonClose = 40001;
constexpr WPARAM kButtonNext = 40048;

struct Listing {
  DWORD pid;
  HWND player;
};

std::string KindOf(HWND w, HWND player) {
  if (w == player) return "player";
  char title[256] = {};
  GetWindowTextA(w, title, sizeof title);
  if (std::string(title) == "Winamp Equalizer") return "equalizer";
  if (std::string(title) == "Winamp Playlist Editor") return "playlist";
  return "other";
}

BOOL CALLBACK PrintWindow(HWND w, LPARAM p) {
  const auto* l = reinterpret_cast<const Listing*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != l->pid) return TRUE;
  RECT r{};
  GetWindowRect(w, &r);
  char cls[128] = {}, title[256] = {};
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, title, sizeof title);
  std::printf("%s %d %ld %ld %ld %ld %s|%s\n", KindOf(w, l->player).c_str(), IsWindowVisible(w) ? 1 : 0, r.left,
              r.top, r.right - r.left, r.bottom - r.top, cls, title);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  HWND player = FindWindowA(kPlayerClass, nullptr);
  if (!player) {
    std::fputs("democtl: no player window\n", stderr);
    return 1;
  }
  if (command == "windows") {
    Listing l{0, player};
    GetWindowThreadProcessId(player, &l.pid);
    EnumWindows(PrintWindow, reinterpret_cast<LPARAM>(&l));
  } else if (command == "minimize" || command == "restore") {
    PostMessageA(player, WM_SYSCOMMAND, command == "minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
  } else if (command == "next" || command == "close") {
    PostMessageA(player, WM_COMMAND, command == "next" ? kButtonNext : kButtonClose, 0);
  } else {
    std::fputs("usage: democtl windows|minimize|restore|next|close\n", stderr);
    return 2;
  }
  return 0;
}
