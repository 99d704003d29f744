#pragma once
// What the whole module shares: its handle and object count, and the
// module's start (install home, the temp folder's old videos, the player
// movie, the hook library) that every control needs.
#include <windows.h>

#include <string>

namespace mvcontrol {

HMODULE Module();
void ModuleAddRef();
void ModuleRelease();
long ModuleRefs();

// The install home and the files below it, known once the module started.
struct ModulePaths {
  std::string home;      // no trailing backslash
  std::string logPath;   // "<home>\log\zolyricocx.txt"
  std::string userTemp;  // GetTempPathA, ends in a backslash ("" without one)
  std::string Swf(const char* name) const { return home + "\\swf\\" + name; }
};

// Starts the module once: reads the install home, deletes the old "ocx"
// videos in the temp folder, sets the player movie and loads the hook
// library "ocx_iohook.dll" from the home (and switches it on). False, with
// nothing kept, when the home is not registered or the hook library or one
// of its functions is missing: the control is then not created, and the
// page's browser goes on. Called on the creating thread.
bool StartModule();
const ModulePaths& Paths();
// The player movie of the process: "<home>\swf\player.swf" until a page
// names another one.
const std::string& PlayerMovie();
void SetPlayerMovie(const std::string& path);
// Switches the hook library off and frees it (when the module may unload).
void StopModule();

}  // namespace mvcontrol
