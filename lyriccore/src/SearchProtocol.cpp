#include "SearchProtocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "KeyValueText.h"
#include "shared/Base64.h"
#include "shared/GbkPath.h"
#include "shared/GbkText.h"

namespace zl {

namespace {

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool KeptAsIs(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::strchr("!'()*-._~", c) != nullptr && c != '\0';
}

// A component that Windows would read as the parent or resolve away.
bool IsDotsOnly(const std::string& part) {
  for (char c : part)
    if (c != '.' && c != ' ') return false;
  return true;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever the extension.
bool IsDeviceName(const std::string& part) {
  std::string stem = part.substr(0, part.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
    return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

bool RefusedByFileSystem(unsigned char c) { return c < 0x20 || std::strchr("<>\"|?*:", c) != nullptr; }

}  // namespace

std::string EscapeQueryValue(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size() * 3);
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (KeptAsIs(c)) {
      out += static_cast<char>(c);
    } else if (c == '%' && i + 2 < value.size() && IsHex(value[i + 1]) && IsHex(value[i + 2])) {
      out += '%';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string QuerySigText(uint32_t sig1, uint32_t sig2) {
  char text[40];
  std::snprintf(text, sizeof text, "%x%%252C%x", static_cast<unsigned>(sig1), static_cast<unsigned>(sig2));
  return text;
}

const char* QueryTypeValue(ResultType wanted) {
  if (wanted == RESULT_TYPE_LIST) return "1";
  if (wanted == RESULT_TYPE_CONTENT) return "2";
  return "3";
}

const char* QueryReqValue(Pre_Set_State onDisk) { return onDisk == PRE_SET_PART ? "part" : "full"; }

std::string BuildSearchArguments(const SearchQuery& q) {
  bool names = false, all = false, reco = false;
  switch (q.searchType) {
    case SEARCH_AUTOMATIC: all = names = reco = true; break;
    case SEARCH_BY_NAMES: names = true; break;
    case SEARCH_BY_RECOGNITION: reco = true; break;
    default: return std::string();
  }
  auto e = [](const std::string& v) { return EscapeQueryValue(v); };
  const std::string none;
  std::string s;
  s += "user=" + e(q.user) + "," + e(q.version) + "," + e(q.secondValue) + "," + e(q.host);
  s += "&requester=" + e("localhost");
  s += std::string("&type=") + QueryTypeValue(q.wanted);
  s += std::string("&req=") + QueryReqValue(q.onDisk);
  s += "&songname=" + e(names ? q.title : none);
  s += "&artist=" + e(names ? q.artist : none);
  s += "&path=" + e(all ? q.resPath : none);
  s += "&zipsig=" + e(all ? q.zipSig : none);
  s += "&RecoSn=" + e(reco ? q.recoSn : none);
  s += "&RecoArtist=" + e(reco ? q.recoArtist : none);
  s += "&FileName=" + e(all ? q.fileName : none);
  s += "&sig=" + QuerySigText(q.sig1, q.sig2);
  return s;
}

std::string ScrambleArguments(const std::string& arguments) {
  static const char kKey[] = "plomber";
  std::string mixed(arguments);
  for (size_t i = 0; i < mixed.size(); ++i) mixed[i] = static_cast<char>(mixed[i] ^ kKey[i % 7]);
  return Base64Encode(mixed);
}

std::string SearchUrl(const std::string& server, const std::string& encoded) { return server + "?" + encoded; }

bool ParseSearchAnswerHeader(const char* data, size_t length, SearchAnswer& a) {
  a = SearchAnswer();
  if (!data) return false;
  static const char kBreak[] = "\r\n\r\n";
  size_t end = std::string::npos;
  for (size_t i = 0; i + 4 <= length; ++i)
    if (std::memcmp(data + i, kBreak, 4) == 0) {
      end = i;
      break;
    }
  if (end == std::string::npos) return false;
  a.bodyOffset = end + 4;
  ForEachKeyValue(std::string(data, end), [&a](const std::string& key, const std::string& value) {
    if (key == "rcode") {
      a.hasRcode = true;
      a.rcode = std::atoi(value.c_str());
    } else if (key == "hitfrom") {
      a.hasHitfrom = true;
      a.hitfrom = value;
    } else if (key == "rtitle") {
      a.hasRecNames = true;
      a.rtitle = value;
    } else if (key == "rartist") {
      a.hasRecNames = true;
      a.rartist = value;
    } else if (key == "ralbum") {
      a.hasRecNames = true;
      a.ralbum = value;
    } else if (key == "zipsig") {
      a.zipSig = value;
    } else if (key == "path") {
      a.path = value;
    } else if (key == "password") {
      a.password = value;
    } else if (key == "TP") {
      a.type = value;
    }
  });
  if (a.type == "list") a.kind = AnswerKind::List;
  else if (a.type == "content") a.kind = AnswerKind::Content;
  else if (a.type == "none") a.kind = AnswerKind::None;
  return true;
}

bool RcodeSettlesRecognition(int rcode) { return rcode == 1 || rcode == 2 || rcode == -1; }

bool SafeEntryName(const std::string& raw, std::string& safe, bool& isFolder) {
  safe.clear();
  isFolder = false;
  size_t i = 0;
  // A drive prefix ("C:") and any run of leading separators (root, UNC).
  if (raw.size() >= 2 && raw[1] == ':' &&
      ((raw[0] >= 'A' && raw[0] <= 'Z') || (raw[0] >= 'a' && raw[0] <= 'z')))
    i = 2;
  while (i < raw.size() && (raw[i] == '\\' || raw[i] == '/')) ++i;
  std::vector<std::string> parts;
  std::string part;
  bool endsWithSeparator = false;
  auto finishPart = [&]() -> bool {
    if (part.empty() || part == ".") {
      part.clear();
      return true;
    }
    if (IsDotsOnly(part) || IsDeviceName(part)) return false;
    parts.push_back(part);
    part.clear();
    return true;
  };
  for (; i < raw.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(raw[i]);
    if (IsGbkLeadByte(c)) {
      // A lead byte without its trail byte is no character: Windows would
      // read the next byte (a ':' or a '/', say) on its own.
      if (i + 1 >= raw.size() || !IsGbkTrailByte(static_cast<unsigned char>(raw[i + 1]))) return false;
      part += raw[i];
      part += raw[++i];
      endsWithSeparator = false;
      continue;
    }
    if (c == '\\' || c == '/') {
      if (!finishPart()) return false;
      endsWithSeparator = true;
      continue;
    }
    if (RefusedByFileSystem(c)) return false;
    part += static_cast<char>(c);
    endsWithSeparator = false;
  }
  if (!finishPart() || parts.empty()) return false;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k) safe += '\\';
    safe += parts[k];
  }
  isFolder = endsWithSeparator;
  return true;
}

bool LyricNamesFromEntry(const std::string& entryName, std::string& artist, std::string& title) {
  artist.clear();
  title.clear();
  if (entryName.find(".lrc") == std::string::npos) return false;
  std::string name = PathFileName(entryName);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  const size_t dash = name.find('-');
  artist = name.substr(0, dash);
  if (dash != std::string::npos) title = name.substr(dash + 1);
  return true;
}

}  // namespace zl
