#pragma once
// ClipView's start-up decisions that need no system call: whether the
// installed Flash control is new enough, and how much disk the P2P server
// may use (the number written into setup.ini).
#include <cstdint>
#include <string>

namespace clipview {

// The major version of a product version text: what precedes the first
// comma, read as a number ("10,0,45,2" gives 10; "6.0.79.0" gives 6);
// 0 when there is none.
int FlashMajorVersion(const std::string& productVersion);
// Version 6 and older (or none) cannot play the pages.
inline bool FlashTooOld(int major) { return major <= 6; }

struct ShareSpace {
  uint64_t megabytes = 0;
  bool warnLowDisk = false;  // "the install disk is too small"
};
// Free space below 61 MB: 0 and the warning; below 513 MB: the music
// folder's size plus half the free space; otherwise 512.
ShareSpace ChooseShareSpace(uint64_t freeMegabytes, uint64_t musicMegabytes);

// Replaces the text between "<MaxSpaceSize>" and "</MaxSpaceSize>" with the
// number in decimal. False (text unchanged) when the tags are missing.
bool ReplaceMaxSpaceSize(std::string& text, uint64_t megabytes);

}  // namespace clipview
