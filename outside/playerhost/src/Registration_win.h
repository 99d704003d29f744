#pragma once
// The registry entries a Winamp installation leaves behind, which plug-in
// installers read to find the player's folder.
#include <string>

namespace playerhost {

// HKCU\Software\Winamp (default value: the folder) and the uninstaller entry
// HKLM\...\Uninstall\Winamp, both naming `folder` (no trailing backslash).
bool RegisterPlayerFolder(const std::string& folder, std::string& error);
bool UnregisterPlayerFolder(std::string& error);

}  // namespace playerhost
