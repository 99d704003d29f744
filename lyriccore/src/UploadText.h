#pragma once
// The text of a lyric upload: the lyric file travels inside a usage event.
#include <cstdint>
#include <string>

#include "lyriccore/LyricRecords.h"

namespace zl {

// The largest lyric file that may be shared, in bytes.
constexpr int64_t kUploadLimitBytes = 10000;

// A file of 1 to kUploadLimitBytes bytes may be shared.
bool UploadSizeAllowed(int64_t bytes);

// CR LF becomes LF, then every LF becomes the six characters %0D%0A, so
// that a file with either line end gives the same text. A lone CR stays.
std::string UploadLyricText(const std::string& fileText);

// "S:" title "|AR:" artist "|AL:" album "|UPLOADER:" uploader "|C:" and the
// converted lyric text.
std::string UploadEventText(const LrcItem& item, const std::string& fileText);

}  // namespace zl
