#pragma once
// One download slot of the MV window and what happens to it: its status,
// its resource, the temporary file the window copies into, and the
// progress the P2P server reports.
#include <cstdint>
#include <string>

#include "shared/SignPair.h"

namespace clipview {

enum ResourceStatus : int {
  kStatusIdle = 0,
  kStatusRequested = 1,
  kStatusStarted = 2,  // the server has the file and its path is known
  kStatusDownloading = 3,
  kStatusFinished = 4,
  kStatusFailed = 5,  // also a time-out
  kStatusNetworkError = 6,
  kStatusNoPeer = 7,  // nobody has the resource
  kStatusCancelled = 8,
};
// Statuses 5 to 7: a later request may start the slot again.
inline bool IsFailedStatus(int status) { return status >= kStatusFailed && status <= kStatusNoPeer; }

enum class SlotKind { Video, Pictures, PrefetchVideo, PrefetchPictures, Codec };

struct P2PResource {
  int status = kStatusIdle;
  SignPair sign{0, 0};
  std::string tempPath;   // empty when the path would not fit in 511 bytes
  std::string extension;  // "flv", "swf" or "exe", fixed at creation
  uint32_t usablePercent = 0;
  uint32_t downloadPercent = 0;
  uint32_t rate = 0;  // stored only
  uint32_t totalSize = 0;
  bool playable = false;  // video slot: usablePercent has passed 4
};

P2PResource MakeSlot(const char* extension);
// Everything zero, status 0; the extension stays.
void ResetSlot(P2PResource& slot);
// Stores the pair and its temporary path; clears playable.
void SetSlotSign(P2PResource& slot, SignPair sign, const std::string& tempPath);
void SlotStarted(P2PResource& slot, const std::string& tempPath);
// Status 3, or 4 at 100 %; the video slot becomes playable above 4 %.
void SlotProgress(P2PResource& slot, bool video, uint32_t totalSize, uint32_t usable, uint32_t download,
                  uint32_t rate);
// 0: network error (6), 1: failed (5), 2: no peer (7).
void SlotError(P2PResource& slot, int code);
void SlotCancelled(P2PResource& slot);

// ---- names -------------------------------------------------------------------

// The temporary file of a resource: <user temp>ZLrc\<first>_<second>.<ext>.
// The separator keeps 1,23 and 12,3 apart. Empty when 512 bytes would not
// hold it. userTemp ends in a backslash (as GetTempPathA gives it).
std::string TempFolderPath(const std::string& userTemp);
std::string BuildTempPath(const std::string& userTemp, SignPair sign, const std::string& extension);
// The text after the last dot of the file name ("" when it has none).
std::string ExtensionOf(const std::string& path);
bool IsExeExtension(const std::string& extension);
// "ZoP2P_ZOLYRIC_<command line>", cut to 63 bytes.
std::string ReplyWindowName(const std::string& commandLine);

// ---- copy plan ------------------------------------------------------------------

constexpr uint64_t kBlockBytes = 16384;
// Bytes of the file that may be read from the start: the usable share of
// its 16 KB blocks, rounded up to whole blocks.
uint64_t CopyLimit(uint32_t totalSize, uint32_t usablePercent);
// How many bytes at the start of a buffer read from `position` lie in the
// transformed head (none for "exe" resources).
size_t HeadBytesToRestore(uint64_t position, size_t bytesRead, bool exe);

}  // namespace clipview
