#pragma once
// Starting the P2P server program, as ClipView does at start-up.
#include <string>

namespace clipview {

// Runs <InstallHome>\<p2psvr> hidden (not waiting) and marks P2PStarted = 1
// below HKLM\SOFTWARE\ZOLYRIC. False when the common program-files folder,
// the install home or the program name is missing, or it did not start.
bool StartP2PServer(const std::string& logPath);

}  // namespace clipview
