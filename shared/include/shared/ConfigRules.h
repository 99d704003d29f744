#pragma once
// The install home's rules that need no system call: file paths below the
// home, key names and index checks of the configuration image, the program
// command line, the publish-age rule, the user file's lines and the host
// player's name.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zl {

// "<home>\face\zoc.img" and "<home>\face\pub.img"; the home never ends in a
// backslash, so none is added.
std::string ConfigImagePathFromHome(const std::string& home);
std::string PublishFilePathFromHome(const std::string& home);

// Entry `index` of [Advert] or [MyStar] exists only below the count.
inline bool IsConfigIndexAllowed(int index, int count) { return index >= 0 && index < count; }

// "advert3", "star0"…
std::string IndexedConfigKey(const char* base, int index);
// "flash<pair>signature<word>", word 1 or 2.
std::string FlashSignatureKey(int pair, int word);
// The pair read by the call that raised the rotating counter to `counter`.
int FlashPairForCall(unsigned counter, int count);

// A signature word: the text read as a 64-bit decimal number and kept in 32
// bits. False for empty text.
bool SignatureFromText(const std::string& text, uint32_t& word);

// Program of the P2P server when the image names none; used only when the
// caller's buffer can hold it.
constexpr const char* kDefaultP2PServer = "ZoSvr.exe";
inline bool DefaultP2PServerFits(size_t bufferSize) { return bufferSize >= 10; }

// The command alone for an empty or null folder, else folder and command
// joined by '\' unless the folder already ends in '/' or '\'. A joined
// program path holding blanks is put in quotes.
std::string BuildProgramCommandLine(const char* command, const char* folder);

// Advert and artist pages: prefix "s=" s "&a=" a "&b=" b, unescaped.
std::string BuildLinkUrl(const std::string& prefix, const char* s, const char* a, const char* b);
// Only http and https addresses may be handed to the shell's default
// handler: "open" on any other text would run what it names.
bool IsWebAddress(const std::string& url);
// The title Internet Explorer gives the window of a page.
std::string BrowserWindowTitle(const std::string& url);

struct CalendarDate {
  int year = 0, month = 0, day = 0;
};
// Age in days with every month counted as 30 days:
// ((years * 12 + months) * 30 + days), negative when `written` is later.
int PublishAgeDays(const CalendarDate& written, const CalendarDate& today);
inline bool IsRecentPublishAge(int age) { return age >= 0 && age <= 10; }

// The user file holds the user's id on line 1 and a second value on line 2,
// lines ending in CR LF (a bare CR or LF is taken as well); `head` is at
// most its first 259 bytes. Line 1 succeeds only when atoi of it is above 0;
// line 2 when it is not empty.
bool ParseUserFileLine(const std::string& head, int line, std::string& value);
constexpr size_t kUserFileHeadBytes = 259;

// "wmp", "winamp" or "real" when the executable's file name (upper-cased)
// contains WMPLAYER, WINAMP or REALPLAY; any other host gives the path.
std::string HostPlayerNameFromPath(const std::string& executablePath);

}  // namespace zl
