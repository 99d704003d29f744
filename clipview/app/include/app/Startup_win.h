#pragma once
// ClipView's start-up steps that touch the system.
#include <string>

namespace clipview {

// The product version text of the Flash control's in-process server
// (HKEY_CLASSES_ROOT\CLSID\{D27CDB6E-...}\InprocServer32); empty when the
// control or its version is missing.
std::string FlashControlVersion();
// Shows the notice about a too old Flash player (titled "NoFlash_AMBREL"
// while it is open); OK opens the Flash update page.
void ShowFlashNotice(const std::string& logPath);

// Writes the P2P server's share space into "<home>\setup.ini" (when it
// exists) through a temporary file, so that a failure never loses it.
// False when the file exists but could not be rewritten.
bool SetP2PShareSpace(const std::string& home, const std::string& logPath);

}  // namespace clipview
