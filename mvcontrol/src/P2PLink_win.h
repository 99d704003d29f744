#pragma once
// The control's side of the P2P server: starting it and sending it the
// request and cancel records (the records are the MV window's own).
#include <string>

#include "shared/SignPair.h"

namespace mvcontrol {

// When no server window exists, starts "ZoMV.exe" from the install home
// and marks P2PStarted = 1 in the product key. False when it cannot start.
bool EnsureP2PServer(const std::string& home, const std::string& logPath);

// Only when the server window exists; the result is not waited for longer
// than 2000 ms (request) or 1000 ms (cancel) and is not looked at.
void SendRequest(SignPair sign, const std::string& replyWindowName);
void SendCancel(SignPair sign);

}  // namespace mvcontrol
