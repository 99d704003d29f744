#pragma once
// A minimal PNG writer for test screenshots: 8-bit RGB, no interlace.
#include <cstdint>
#include <string>
#include <vector>

namespace dlgtest {

// rgb holds width * height * 3 bytes, rows top to bottom.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace dlgtest
