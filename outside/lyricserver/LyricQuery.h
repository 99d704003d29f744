#pragma once
// The lyric server's view of a search query: Base64 in the URL, scrambled
// with a 7-byte key, then key=value pairs with %XX escapes. Decoded here
// independently of the engine's encoder.
#include <map>
#include <string>

namespace lyricserver {

// Standard Base64 with '=' padding; false on any other character or length.
bool Base64Decode(const std::string& text, std::string& bytes);
std::string Base64Encode(const std::string& bytes);

// XOR with "plomber", cyclically; the same call scrambles and unscrambles.
std::string Unscramble(const std::string& bytes);

// "%41" -> "A"; a '%' not followed by two hex digits stays as it is.
std::string Unescape(const std::string& text);

struct Query {
  std::string arguments;                      // the argument string before scrambling
  std::map<std::string, std::string> values;  // unescaped values by key
};

// From the URL's query part (the text after '?').
bool DecodeQuery(const std::string& urlQuery, Query& out);

}  // namespace lyricserver
