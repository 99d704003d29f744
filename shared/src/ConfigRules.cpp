#include "shared/ConfigRules.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "shared/GbkPath.h"

namespace zl {

std::string ConfigImagePathFromHome(const std::string& home) { return home + "\\face\\zoc.img"; }

std::string PublishFilePathFromHome(const std::string& home) { return home + "\\face\\pub.img"; }

std::string IndexedConfigKey(const char* base, int index) {
  return std::string(base ? base : "") + std::to_string(index);
}

std::string FlashSignatureKey(int pair, int word) {
  char key[48];
  std::snprintf(key, sizeof key, "flash%dsignature%d", pair, word);
  return key;
}

int FlashPairForCall(unsigned counter, int count) {
  return count > 0 ? static_cast<int>(counter % static_cast<unsigned>(count)) : 0;
}

bool SignatureFromText(const std::string& text, uint32_t& word) {
  if (text.empty()) return false;
  word = static_cast<uint32_t>(static_cast<uint64_t>(std::strtoll(text.c_str(), nullptr, 10)));
  return true;
}

std::string BuildProgramCommandLine(const char* command, const char* folder) {
  const std::string cmd = command ? command : "";
  if (!folder || !*folder) return cmd;
  std::string program = folder;
  if (!EndsInPathSeparator(program)) program += '\\';
  // The program is the command's first word (or its quoted first part).
  std::string rest;
  if (!cmd.empty() && cmd[0] == '"') {
    const size_t close = cmd.find('"', 1);
    program += cmd.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    if (close != std::string::npos) rest = cmd.substr(close + 1);
  } else {
    const size_t blank = cmd.find_first_of(" \t");
    program += cmd.substr(0, blank);
    if (blank != std::string::npos) rest = cmd.substr(blank);
  }
  // NOTE: a program path with blanks ("C:\Program Files\...") is quoted;
  // left bare, the system would first try to run "C:\Program.exe".
  if (program.find_first_of(" \t") != std::string::npos) program = "\"" + program + "\"";
  return program + rest;
}

std::string BuildLinkUrl(const std::string& prefix, const char* s, const char* a, const char* b) {
  return prefix + "s=" + (s ? s : "") + "&a=" + (a ? a : "") + "&b=" + (b ? b : "");
}

bool IsWebAddress(const std::string& url) {
  auto startsWith = [&url](const char* scheme) {
    for (size_t i = 0; scheme[i]; ++i) {
      if (i >= url.size() || std::tolower(static_cast<unsigned char>(url[i])) != scheme[i])
        return false;
    }
    return true;
  };
  return startsWith("http://") || startsWith("https://");
}

std::string BrowserWindowTitle(const std::string& url) {
  return url + " - Microsoft Internet Explorer";
}

int PublishAgeDays(const CalendarDate& written, const CalendarDate& today) {
  return ((today.year - written.year) * 12 + (today.month - written.month)) * 30 +
         (today.day - written.day);
}

bool ParseUserFileLine(const std::string& head, int line, std::string& value) {
  value.clear();
  const std::string text = head.substr(0, kUserFileHeadBytes);
  const size_t end1 = text.find_first_of("\r\n");
  const std::string first = text.substr(0, end1);
  if (line == 1) {
    if (std::atoi(first.c_str()) <= 0) return false;
    value = first;
    return true;
  }
  if (line != 2 || end1 == std::string::npos) return false;
  size_t start2 = end1 + 1;
  if (text[end1] == '\r' && start2 < text.size() && text[start2] == '\n') ++start2;
  const size_t end2 = text.find_first_of("\r\n", start2);
  value = text.substr(start2, end2 == std::string::npos ? std::string::npos : end2 - start2);
  return !value.empty();
}

std::string HostPlayerNameFromPath(const std::string& executablePath) {
  std::string name = PathFileName(executablePath);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name.find("WMPLAYER") != std::string::npos) return "wmp";
  if (name.find("WINAMP") != std::string::npos) return "winamp";
  if (name.find("REALPLAY") != std::string::npos) return "real";
  return executablePath;
}

}  // namespace zl
