#pragma once
// What the stand-in reads from a movie file to show it: the background
// colour of its SetBackgroundColor tag and the text of its Metadata tag.
#include <cstdint>
#include <string>

namespace flashstandin {

struct MovieLook {
  bool valid = false;        // an uncompressed movie ("FWS") with a whole header
  uint32_t background = 0;   // 0xRRGGBB
  std::string label;         // the Metadata tag's text (UTF-8), if any
};

MovieLook ReadMovieLook(const std::string& bytes);

}  // namespace flashstandin
