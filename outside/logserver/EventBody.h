#pragma once
// Decoding of a usage-event post as the log server receives it. Written
// independently of the product's encoder so that tests compare two sides.
#include <string>

namespace logserver {

// Body: Base64 of (event line, NUL, '=' padding to a multiple of 3 bytes).
// On success `line` holds the event line; otherwise `error` says what is wrong.
bool DecodeEventBody(const std::string& body, std::string& line, std::string& error);

}  // namespace logserver
