#include "lyriccore/LrcText.h"

namespace {
void AppendTwoDigits(std::string& out, int64_t v) {
  if (v < 10) out += '0';
  out += std::to_string(v);
}
}  // namespace

std::string FormatLrcTime(int32_t ms) {
  std::string out;
  int64_t v = ms;  // 64-bit so that the most negative time can be negated
  if (v < 0) {
    out += '-';
    v = -v;
  }
  AppendTwoDigits(out, v / 60000);
  out += ':';
  AppendTwoDigits(out, (v % 60000) / 1000);
  const int64_t hundredths = (v % 1000) / 10;
  if (hundredths != 0) {
    out += '.';
    AppendTwoDigits(out, hundredths);
  }
  return out;
}
