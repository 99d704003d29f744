#pragma once
// The text of a usage event and its wire encoding. Platform-neutral.
#include <string>

namespace logsvr {

// Who reports: product version and the two lines of the user file.
struct EventIdentity {
  std::string version;    // Config/Version, at most 63 characters
  std::string userId;     // user file line 1, at most 63
  std::string userLine2;  // user file line 2, at most 127
};

enum EventKind { kEventNotSent = 0, kEventSent = 2, kEventKind9 = 9 };

// act "|S:" source, and "|" msg when msg is not empty.
std::string EventBody(const std::string& act, const std::string& source, const std::string& msg);

// The event line of a kind (2 sent, 9, 0 only logged) for a body.
std::string FormatEvent(int kind, const std::string& body, const EventIdentity& id);

// Line + NUL, padded with '=' to a multiple of three bytes, in standard Base64.
std::string EncodeEventLine(const std::string& line);

bool IsUninstallAct(const std::string& act);

// "UNINSTALL" message: "<base url>;<version>,<user id>,<extra>,".
struct UninstallMessage {
  std::string baseUrl;  // the built-in one when the message has no ';'
  std::string version, userId, extra;
};
UninstallMessage ParseUninstallMessage(const std::string& msg, const std::string& builtInBaseUrl);
std::string FormatUninstallEvent(const UninstallMessage& m);

}  // namespace logsvr
