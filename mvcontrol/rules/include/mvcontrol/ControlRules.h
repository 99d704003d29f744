#pragma once
// The web control's small decisions, apart from Windows: the rate text, the
// control's geometry, the paths a page may hand it, the sign texts of the
// page, and the names of its reply window and video file.
#include <cstdint>
#include <string>

#include "shared/SignPair.h"

namespace mvcontrol {

// "%.2fMB" of r / 1048576 above 1048576 bytes per second, "%.2fB" up to
// 1024, else "%.2fKB" of r / 1024.
std::string RateText(uint32_t bytesPerSecond);

// The movie's size by default; the text line takes 20 pixels below it.
constexpr int kDefaultMovieWidth = 347;
constexpr int kDefaultMovieHeight = 300;
constexpr int kStatusLineHeight = 20;
constexpr int kStatusLineLeft = 10;
// A page may ask for any width; a window cannot be wider than this.
constexpr uint32_t kMaxControlWidth = 8192;

// SetWndWidth: width × 300 / 347 + 20, in whole pixels (the width cut to
// kMaxControlWidth first).
int HeightForWidth(uint32_t width);

struct Box {
  int x, y, width, height;
};
struct MovieLayout {
  Box flash;   // the Flash control: the whole width, all but the text line
  Box status;  // the text line: the bottom 20 pixels, from x = 10
};
MovieLayout LayoutMovieDialog(int width, int height);

// Pixels and HIMETRIC units (0.01 mm) at `dpi` dots per inch, rounded.
long PixelsToHimetric(int pixels, int dpi);
int HimetricToPixels(long himetric, int dpi);

// A sign number in a page's text, read as atoi reads it (blanks, a sign,
// digits up to the first other character; "x" is 0) but into the whole
// unsigned 32-bit range, as sign numbers need it.
uint32_t SignFromText(const std::string& text);

// The reply window's name: the decimal text of (first << 16) + second,
// two values of rand().
std::string ReplyWindowName(unsigned first, unsigned second);

// The control's copy of a channel's video:
// "<userTemp>ZLrc\ocx<first>_<second>.<extension>" (the separator keeps the
// pairs 1,23 and 12,3 apart). "" when the path would not fit MAX_PATH.
// userTemp ends in a backslash, as GetTempPathA gives it.
std::string VideoFilePath(const std::string& userTemp, SignPair sign, const std::string& extension);
constexpr const char* kVideoFilePrefix = "ocx";

// A movie or video a page may hand the control: an absolute path on a drive
// letter ("C:\..." or "C:/..."), shorter than MAX_PATH, whose name ends in
// "." + extension (case ignored), without wildcards, stream names or
// control characters. Network paths ("\\server\share", "//server"),
// device paths ("\\?\", "\\.\") and URLs are refused, so that no page can
// make the control reach another machine. Whether the drive is a local one
// and the file exists is for the caller to check.
bool IsAcceptablePagePath(const std::string& path, const char* extension);

}  // namespace mvcontrol
