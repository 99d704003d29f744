#pragma once
// A raw HTTP exchange for tests of the stand-in servers.
#include <windows.h>

#include <string>

namespace testsupport {

// Sends request bytes to 127.0.0.1:port and returns everything that came
// back before the server closed the connection or the time limit passed.
std::string RawExchange(int port, const std::string& request, DWORD timeoutMs = 5000);

}  // namespace testsupport
