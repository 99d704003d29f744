#include "dialogs/SettingsRules.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace settingsdlg {

bool ConfChanged(const zl::LyricSettings& a, const zl::LyricSettings& b) {
  return a.ConType != b.ConType || a.RetryTime != b.RetryTime || a.UpdateSongInfo != b.UpdateSongInfo ||
         a.SaveLrcFileAsSongFileName != b.SaveLrcFileAsSongFileName ||
         a.SaveLrcInSongPath != b.SaveLrcInSongPath || a.SaveLrcInOtherPath != b.SaveLrcInOtherPath;
}

bool ParseRetryTime(const std::string& text, int& seconds) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  const size_t last = text.find_last_not_of(" \t");
  const std::string number = text.substr(first, last - first + 1);
  size_t i = number[0] == '-' || number[0] == '+' ? 1 : 0;
  if (i == number.size()) return false;
  for (; i < number.size(); ++i) {
    if (number[i] < '0' || number[i] > '9') return false;
  }
  errno = 0;
  const long long value = std::strtoll(number.c_str(), nullptr, 10);
  // Out of range even for strtoll: the sign still says which end applies.
  if (value < kRetryMinSeconds || (errno == ERANGE && number[0] == '-')) {
    seconds = kRetryMinSeconds;
  } else if (value > kRetryMaxSeconds) {
    seconds = kRetryMaxSeconds;
  } else {
    seconds = static_cast<int>(value);
  }
  return true;
}

void ApplyDialogValues(const zl::LyricSettings& e, zl::LyricSettings& s) {
  s.ConType = e.ConType;
  s.ProxyServer = e.ProxyServer;
  s.ProxyPort = e.ProxyPort;
  s.UserName = e.UserName;
  s.Password = e.Password;
  s.RetryTime = e.RetryTime;
  s.UpdateSongInfo = e.UpdateSongInfo;
  s.SaveLrcFileAsSongFileName = e.SaveLrcFileAsSongFileName;
  s.SaveLrcInSongPath = e.SaveLrcInSongPath;
  s.SaveLrcInOtherPath = e.SaveLrcInOtherPath;
  s.LrcSavePath = e.LrcSavePath;
  s.autofprecognise = e.autofprecognise;
  s.usefprecognise = e.usefprecognise;
  s.font = e.font;
  s.localFolders = e.localFolders;
}

int ConnectionChoice(const std::string& conType) {
  if (conType == "0") return 0;
  if (conType == "1") return 1;
  return 2;
}

const char* ConTypeForChoice(int choice) {
  if (choice == 0) return "0";
  if (choice == 1) return "1";
  return "2";
}

std::string AboutVersionLine(const std::string& version, bool hasDate, int year, int month) {
  const size_t underscore = version.find('_');
  std::string line = "版本:V";
  if (underscore != std::string::npos) line += version.substr(underscore + 1);
  line += "\t\t发布日期:";
  if (hasDate) line += std::to_string(year) + "." + std::to_string(month);
  return line;
}

uint32_t ParseAnchorColor(const std::string& text, uint32_t fallback) {
  int r = -1, g = -1, b = -1;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%d,%d,%d%c", &r, &g, &b, &rest) != 3) return fallback;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return fallback;
  return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16;
}

std::string DefaultBackgroundPicture(const std::string& home) { return home + "\\face\\defaultbak\\bkground1.jpg"; }

}  // namespace settingsdlg
