#include "p2p/P2PResource.h"

#include <cctype>
#include <cstring>

#include "shared/GbkText.h"

namespace clipview {

P2PResource MakeSlot(const char* extension) {
  P2PResource slot;
  slot.extension = extension;
  return slot;
}

void ResetSlot(P2PResource& slot) {
  const std::string extension = slot.extension;
  slot = P2PResource();
  slot.extension = extension;
}

void SetSlotSign(P2PResource& slot, SignPair sign, const std::string& tempPath) {
  slot.sign = sign;
  slot.tempPath = tempPath;
  slot.playable = false;
}

void SlotStarted(P2PResource& slot, const std::string& tempPath) {
  slot.tempPath = tempPath;
  slot.status = kStatusStarted;
}

void SlotProgress(P2PResource& slot, bool video, uint32_t totalSize, uint32_t usable, uint32_t download,
                  uint32_t rate) {
  slot.totalSize = totalSize;
  slot.usablePercent = usable > 100 ? 100 : usable;
  slot.downloadPercent = download > 100 ? 100 : download;
  slot.rate = rate;
  slot.status = slot.usablePercent >= 100 ? kStatusFinished : kStatusDownloading;
  if (video && slot.usablePercent > 4) slot.playable = true;
}

void SlotError(P2PResource& slot, int code) {
  slot.status = code == 0 ? kStatusNetworkError : code == 2 ? kStatusNoPeer : kStatusFailed;
}

void SlotCancelled(P2PResource& slot) { slot.status = kStatusCancelled; }

std::string TempFolderPath(const std::string& userTemp) { return userTemp + "ZLrc"; }

std::string BuildTempPath(const std::string& userTemp, SignPair sign, const std::string& extension) {
  const std::string path = TempFolderPath(userTemp) + "\\" + std::to_string(sign.first) + "_" +
                           std::to_string(sign.second) + "." + extension;
  return path.size() < 512 ? path : std::string();
}

std::string ExtensionOf(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

bool IsExeExtension(const std::string& extension) {
  if (extension.size() != 3) return false;
  for (size_t i = 0; i < 3; ++i)
    if (std::tolower(static_cast<unsigned char>(extension[i])) != "exe"[i]) return false;
  return true;
}

std::string ReplyWindowName(const std::string& commandLine) {
  const std::string name = "ZoP2P_ZOLYRIC_" + commandLine;
  return name.substr(0, zl::GbkCutLength(name.data(), name.size(), 63));
}

uint64_t CopyLimit(uint32_t totalSize, uint32_t usablePercent) {
  if (totalSize == 0) return 0;
  if (usablePercent > 100) usablePercent = 100;
  const uint64_t blocks = ((uint64_t(totalSize) - 1) >> 14) + 1;
  // ceil(usable * blocks / 100) in whole numbers: 50 % of 2 blocks is exactly one.
  return (uint64_t(usablePercent) * blocks + 99) / 100 * kBlockBytes;
}

size_t HeadBytesToRestore(uint64_t position, size_t bytesRead, bool exe) {
  if (exe || position >= kBlockBytes) return 0;
  const uint64_t inHead = kBlockBytes - position;
  return bytesRead < inHead ? bytesRead : size_t(inHead);
}

}  // namespace clipview
