// Archive entry names from the lyric server become paths below the resource
// folder. Read the way Windows reads a path in the GBK code page, a safe name
// never climbs out of the folder, names no device or stream, and making it
// safe again changes nothing.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "SearchProtocol.h"
#include "shared/GbkPath.h"

namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

// The components Windows sees: a lead byte with a valid trail byte is one
// character; any other byte stands for itself.
std::vector<std::string> WindowsComponents(const std::string& path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLead(c) && i + 1 < path.size() && IsTrail(static_cast<unsigned char>(path[i + 1]))) {
      parts.back() += path.substr(i, 2);
      ++i;
    } else if (c == '\\' || c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(c);
    }
  }
  return parts;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  std::string safe;
  bool isFolder = false;
  if (zl::SafeEntryName(raw, safe, isFolder)) {
    FUZZ_CHECK(!safe.empty());
    for (const std::string& part : WindowsComponents(safe)) {
      FUZZ_CHECK(!part.empty());
      // Windows drops trailing dots and blanks: what is left must name something.
      std::string trimmed = part;
      while (!trimmed.empty() && (trimmed.back() == '.' || trimmed.back() == ' ')) trimmed.pop_back();
      FUZZ_CHECK(!trimmed.empty());
      for (char c : part) FUZZ_CHECK(c != ':' && static_cast<unsigned char>(c) >= 0x20);
      const std::string stem = Upper(part.substr(0, part.find('.')));
      FUZZ_CHECK(stem != "CON" && stem != "NUL" && stem != "AUX" && stem != "PRN");
    }
    std::string again;
    bool againFolder = false;
    FUZZ_CHECK(zl::SafeEntryName(safe + (isFolder ? "\\" : ""), again, againFolder));
    FUZZ_CHECK(again == safe && againFolder == isFolder);
  }
  std::string artist, title;
  if (zl::LyricNamesFromEntry(raw, artist, title)) FUZZ_CHECK(artist.size() + title.size() <= raw.size());
  FUZZ_CHECK(zl::PathFileName(raw).size() <= raw.size());
  FUZZ_CHECK(zl::PathFolder(raw).size() <= raw.size());
  return 0;
}
