#pragma once
// The data file the tag tool writes for "G": a 32-bit value (1 when the
// block holds names) and an 1800-byte block whose first three 256-byte
// fields are title, artist and album, NUL-terminated, in the system code page.
#include <cstddef>
#include <string>

namespace zl {

constexpr size_t kTagDataFileBytes = 4 + 1800;

struct TagNames {
  std::string title, artist, album;
};

// False when the bytes are not a data file holding names.
bool ParseTagData(const std::string& bytes, TagNames& names);

}  // namespace zl
