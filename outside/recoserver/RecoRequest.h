#pragma once
// The recognition server's view of a request body: Base64 of one line that
// was padded with '=' bytes to a multiple of three, the line being
//   "1" USER "%09meta=" M1 "|" M2 "|" M3 "|" N2 "|" N1 "|" SIZE "|" F5 "|" NAME
//   "%09sig=" HEX "%2C" HEX "%09fp=" HEX ("%2C" HEX)x255 "%0D%0A"
// Decoded here on its own, independently of the engine's encoder.
// Platform-neutral.
#include <cstdint>
#include <string>
#include <vector>

namespace recoserver {

struct RecoRequest {
  std::string line;       // the decoded line, without the '=' padding
  std::string userField;  // what follows the leading "1"
  std::vector<std::string> meta;  // the eight "|"-separated meta values
  uint32_t sig[2] = {};
  uint32_t fp[256] = {};
};

// Standard Base64 without '=' in the text; false on any other character or
// a length that is not a multiple of 4.
bool Base64Decode(const std::string& text, std::string& bytes);

// True when the body decodes to a whole line (it ends in "%0D%0A" and its
// padding): the POST carries no length, so this tells the end.
bool BodyComplete(const std::string& body);

// False with `error` naming the first thing that is wrong.
bool DecodeRecoBody(const std::string& body, RecoRequest& out, std::string& error);

}  // namespace recoserver
