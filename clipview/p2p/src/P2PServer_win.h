#pragma once
// Starting the P2P server program, and recovering from one that hangs.
#include <string>

namespace clipview {

// Runs <InstallHome>\<p2psvr> hidden (not waiting) and marks P2PStarted = 1
// below HKLM\SOFTWARE\ZOLYRIC. False when the common program-files folder,
// the install home or the program name is missing, or it did not start.
bool StartP2PServer(const std::string& logPath);

// Ends every process running "ZoMV.exe" or the configured server program
// (names compared without regard to case), then starts the server afresh.
void RecoverP2PServer(const std::string& logPath);

}  // namespace clipview
