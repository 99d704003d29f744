#pragma once
// The settings dialog's decisions without windows: which changes are
// reported as "ChangeConf", the retry field, what the dialog hands back to
// the store, the connection radio buttons and the about page's texts.
#include <cstdint>
#include <string>

#include "shared/LyricSettings.h"

namespace settingsdlg {

// The range the retry label promises, in seconds.
constexpr int kRetryMinSeconds = 5;
constexpr int kRetryMaxSeconds = 120;

// True when a value the engine depends on changed: ConType, RetryTime,
// UpdateSongInfo and the three lyric save options.
bool ConfChanged(const zl::LyricSettings& before, const zl::LyricSettings& after);

// The retry field: a signed decimal number (blanks around it allowed),
// clamped to the promised range. False for anything else.
bool ParseRetryTime(const std::string& text, int& seconds);

// Copies what the dialog edits (proxy, retry time, lyric file options,
// recognition switches, the look and the local folders) into the store's
// values; the usage flags the lyric windows count stay as the store has them.
void ApplyDialogValues(const zl::LyricSettings& edited, zl::LyricSettings& store);

// The connection radio buttons: 0 no proxy, 1 the browser's proxy, 2 own.
int ConnectionChoice(const std::string& conType);
const char* ConTypeForChoice(int choice);

// The about page's version line: "版本:V" + the version after its first "_",
// "\t\t", "发布日期:" + year.month (no padding; left out when unknown).
std::string AboutVersionLine(const std::string& version, bool hasDate, int year, int month);

// A browser colour setting "r,g,b" as a Windows colour value (red in the
// low byte); `fallback` when it is not three numbers of 0-255.
uint32_t ParseAnchorColor(const std::string& text, uint32_t fallback);

// The picture background's default file below the home.
std::string DefaultBackgroundPicture(const std::string& home);

}  // namespace settingsdlg
