// One reader per key of the configuration image zoc.img.
#include <atomic>
#include <cstdlib>

#include "shared/ConfigRules.h"
#include "shared/GbkText.h"
#include "shared/InstallHome.h"
#include "shared/ProfileFile.h"

using namespace zl;

namespace {

// Reads section/key of the image as the system always did: into a buffer
// of `readSize` bytes (so the value is cut to readSize - 1 bytes).
std::string ReadImageValue(const char* section, const char* key, size_t readSize) {
  std::string path;
  if (!GetConfigImagePath(path)) return std::string();
  const std::string value = ProfileFile(path).ReadText(section, key, "");
  return value.substr(0, GbkCutLength(value.data(), value.size(), readSize - 1));
}

// Copies a found value into the caller's buffer (cleared first).
bool ReadImageText(const char* section, const char* key, size_t readSize, char* buffer,
                   size_t size) {
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  const std::string value = ReadImageValue(section, key, readSize);
  return !value.empty() && CopyGbkBounded(buffer, size, value.data(), value.size()) > 0;
}

// The image's texts meant for a buffer of the caller's size.
bool ReadImageTextCallerSized(const char* section, const char* key, char* buffer, size_t size) {
  return ReadImageText(section, key, size ? size : 1, buffer, size);
}

int ReadImageInt(const char* section, const char* key) {
  return std::atoi(ReadImageValue(section, key, 64).c_str());
}

bool ReadImageSignature(const char* section, const char* key, uint32_t& word) {
  return SignatureFromText(ReadImageValue(section, key, 64), word);
}

bool ReadIndexedEntry(const char* section, const char* countKey, const char* base, int index,
                      char* buffer, size_t size) {
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  if (!IsConfigIndexAllowed(index, ReadImageInt(section, countKey))) return false;
  return ReadImageText(section, IndexedConfigKey(base, index).c_str(), 64, buffer, size);
}

std::atomic<unsigned> g_flashCalls{0};

}  // namespace

bool ReadConfigVersion(char* buffer, size_t size) {
  return ReadImageTextCallerSized("Config", "Version", buffer, size);
}

bool ReadConfigUserFile(char* buffer, size_t size) {
  return ReadImageText("Config", "userfile", 260, buffer, size);
}

bool ReadConfigMsgSet(char* buffer, size_t size) {
  return ReadImageText("Config", "msgset", 260, buffer, size);
}

bool ReadConfigP2PServer(char* buffer, size_t size) {
  if (ReadImageText("Config", "p2psvr", 64, buffer, size)) return true;
  // The default stands in for a missing key only: without a home there is
  // no folder to start it from either.
  std::string path;
  if (!buffer || !DefaultP2PServerFits(size) || !GetConfigImagePath(path)) return false;
  CopyGbkBounded(buffer, size, kDefaultP2PServer);
  return true;
}

int ReadConfigInfoValidInterval() { return ReadImageInt("Config", "InfoValidInterval"); }
int ReadConfigRecFailValidInterval() { return ReadImageInt("Config", "RecFailValidInterval"); }
int ReadConfigRecSucValidInterval() { return ReadImageInt("Config", "RecSucValidInterval"); }

bool ReadConfigLyricServer(char* buffer, size_t size) {
  return ReadImageTextCallerSized("LyricServer", "lyricsvr", buffer, size);
}

bool ReadConfigRecoServer(char* buffer, size_t size) {
  return ReadImageTextCallerSized("RecoServer", "recosvr", buffer, size);
}

bool ReadConfigLogServer(char* buffer, size_t size) {
  return ReadImageText("LogServer", "logsvr", 128, buffer, size);
}

int ReadConfigAdvertCount() { return ReadImageInt("Advert", "advertnum"); }

bool ReadConfigAdvert(int index, char* buffer, size_t size) {
  return ReadIndexedEntry("Advert", "advertnum", "advert", index, buffer, size);
}

int ReadConfigStarCount() { return ReadImageInt("MyStar", "starnum"); }

bool ReadConfigStar(int index, char* buffer, size_t size) {
  return ReadIndexedEntry("MyStar", "starnum", "star", index, buffer, size);
}

bool ReadConfigFlashUpdateUrl(char* buffer, size_t size) {
  return ReadImageTextCallerSized("FlashUpdate", "url", buffer, size);
}

int ReadConfigFlashCount() { return ReadImageInt("GeneralFlash", "flashnum"); }

bool ReadConfigFlashSignature(uint32_t& first, uint32_t& second) {
  first = second = 0;
  const unsigned call = ++g_flashCalls;
  const int count = ReadConfigFlashCount();
  if (count <= 0) return false;
  const int pair = FlashPairForCall(call, count);
  uint32_t a = 0, b = 0;
  if (!ReadImageSignature("GeneralFlash", FlashSignatureKey(pair, 1).c_str(), a) ||
      !ReadImageSignature("GeneralFlash", FlashSignatureKey(pair, 2).c_str(), b))
    return false;
  first = a;
  second = b;
  return true;
}

bool ReadConfigFlvCodecSignature(uint32_t& sig1, uint32_t& sig2) {
  sig1 = sig2 = 0;
  uint32_t a = 0, b = 0;
  if (!ReadImageSignature("MediaCodec", "flvsig1", a) ||
      !ReadImageSignature("MediaCodec", "flvsig2", b))
    return false;
  sig1 = a;
  sig2 = b;
  return true;
}
