#include "mvcontrol/ControlRules.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "shared/GbkPath.h"
#include "shared/GbkText.h"

namespace mvcontrol {

std::string RateText(uint32_t r) {
  char text[32];
  if (r > 1048576u)
    std::snprintf(text, sizeof text, "%.2fMB", r / 1048576.0);
  else if (r <= 1024u)
    std::snprintf(text, sizeof text, "%.2fB", double(r));
  else
    std::snprintf(text, sizeof text, "%.2fKB", r / 1024.0);
  return text;
}

int HeightForWidth(uint32_t width) {
  if (width > kMaxControlWidth) width = kMaxControlWidth;
  return int(width * uint32_t(kDefaultMovieHeight) / uint32_t(kDefaultMovieWidth)) + kStatusLineHeight;
}

MovieLayout LayoutMovieDialog(int width, int height) {
  if (width < 0) width = 0;
  if (height < kStatusLineHeight) height = kStatusLineHeight;
  MovieLayout l;
  l.flash = {0, 0, width, height - kStatusLineHeight};
  l.status = {kStatusLineLeft, height - kStatusLineHeight, width > kStatusLineLeft ? width - kStatusLineLeft : 0,
              kStatusLineHeight};
  return l;
}

long PixelsToHimetric(int pixels, int dpi) {
  if (dpi <= 0) dpi = 96;
  return long((int64_t(pixels) * 2540 + dpi / 2) / dpi);
}

int HimetricToPixels(long himetric, int dpi) {
  if (dpi <= 0) dpi = 96;
  return int((int64_t(himetric) * dpi + 1270) / 2540);
}

uint32_t SignFromText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10u + uint32_t(text[i] - '0');
  return negative ? 0u - value : value;
}

std::string ReplyWindowName(unsigned first, unsigned second) {
  return std::to_string((uint32_t(first) << 16) + uint32_t(second));
}

std::string VideoFilePath(const std::string& userTemp, SignPair sign, const std::string& extension) {
  const std::string path = userTemp + "ZLrc\\" + kVideoFilePrefix + std::to_string(sign.first) + "_" +
                           std::to_string(sign.second) + "." + extension;
  return path.size() < 260 ? path : std::string();
}

bool IsAcceptablePagePath(const std::string& path, const char* extension) {
  if (path.size() < 4 || path.size() >= 260 || !extension) return false;
  // A drive letter, a colon and a separator: nothing else names a local file
  // ("\\server", "//server", "\\?\", "http://", "file:", relative names).
  if (!std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || (path[2] != '\\' && path[2] != '/'))
    return false;
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (zl::IsGbkLeadByte(c)) {
      if (i + 1 >= path.size()) return false;  // a character cut in half
      ++i;                                      // its trail byte may be '\\' or '|'
      continue;
    }
    if (c < 0x20 || c == 0x7F || std::strchr("*?\"<>|", c) || (c == ':' && i != 1)) return false;
  }
  const std::string name = zl::PathFileName(path);
  if (name.empty()) return false;
  const std::string ext = zl::PathExtension(path);
  if (ext.size() != std::strlen(extension)) return false;
  for (size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(ext[i])) != std::tolower(static_cast<unsigned char>(extension[i])))
      return false;
  return true;
}

}  // namespace mvcontrol
