#pragma once
// Install home, configuration image and the small shared helpers.
//
// The install home is the registry value ZOLYRIC_HOME under
// HKEY_LOCAL_MACHINE\SOFTWARE\ZOLYRIC, a folder without a trailing backslash;
// every file of the system lies below it. The configuration image
// "<home>\face\zoc.img" is an INI file read with the profile API.
//
// Readers that take a caller buffer clear it first, return true only when a
// value was found, and always leave it NUL-terminated (cut to the buffer,
// never inside a double-byte character). A missing home, file, section or
// key reads as empty. Integer readers return atoi of the text, 0 on failure.
//
// Everything declared here except what ConfigRules.h holds is Windows-only
// (implemented in the *_win.cpp files of zlshared).
#include <cstddef>
#include <cstdint>
#include <string>

// ---- Registry ------------------------------------------------------------

// Reads ZOLYRIC_HOME (KEY_READ only). True when the result is non-empty.
// The buffer forms fail (leaving it empty) when the whole path does not fit:
// a path cut short would name another folder.
bool ReadInstallHome(std::string& home);
bool ReadInstallHome(char* buffer, size_t size);  // callers use 260 bytes

// "<home>\face\zoc.img". Fails when the home is not registered.
bool GetConfigImagePath(char* buffer, size_t size);
bool GetConfigImagePath(std::string& path);

// Creates (or opens) SOFTWARE\ZOLYRIC\LOGMSG, \BHO and \UPDATE under
// HKEY_LOCAL_MACHINE. Always returns true.
bool EnsureProductKeys();

// ---- Configuration image readers (one per key) -----------------------------

bool ReadConfigVersion(char* buffer, size_t size);         // Config/Version
bool ReadConfigUserFile(char* buffer, size_t size);        // Config/userfile (fails when empty)
bool ReadConfigMsgSet(char* buffer, size_t size);          // Config/msgset
// Config/p2psvr; when the key is absent "ZoSvr.exe" is used if the buffer
// holds at least 10 bytes (the reader fails with a smaller buffer, and
// without an install home).
bool ReadConfigP2PServer(char* buffer, size_t size);
int ReadConfigInfoValidInterval();                         // Config/InfoValidInterval
int ReadConfigRecFailValidInterval();                      // Config/RecFailValidInterval
int ReadConfigRecSucValidInterval();                       // Config/RecSucValidInterval
bool ReadConfigLyricServer(char* buffer, size_t size);     // LyricServer/lyricsvr
bool ReadConfigRecoServer(char* buffer, size_t size);      // RecoServer/recosvr
bool ReadConfigLogServer(char* buffer, size_t size);       // LogServer/logsvr
int ReadConfigAdvertCount();                               // Advert/advertnum
// Advert/advert<index>; fails without reading the file unless
// 0 <= index < ReadConfigAdvertCount().
bool ReadConfigAdvert(int index, char* buffer, size_t size);
int ReadConfigStarCount();                                 // MyStar/starnum
bool ReadConfigStar(int index, char* buffer, size_t size); // MyStar/star<index>, as above
bool ReadConfigFlashUpdateUrl(char* buffer, size_t size);  // FlashUpdate/url
int ReadConfigFlashCount();                                // GeneralFlash/flashnum
// GeneralFlash/flash<k>signature1 and 2. A process-wide counter is
// incremented on every call and k = counter % flashnum, so successive calls
// rotate through the pairs. Fails when flashnum is 0 or a value is missing.
bool ReadConfigFlashSignature(uint32_t& first, uint32_t& second);
bool ReadConfigFlvCodecSignature(uint32_t& sig1, uint32_t& sig2);  // MediaCodec/flvsig1, flvsig2

// Base URL used by the event-log service when LogServer/logsvr is absent.
constexpr const char* kDefaultLogServerUrl = "http://127.0.0.1:8400";

// ---- Programs and the browser ----------------------------------------------

// Starts "folder\command" (or the command alone when folder is null or
// empty) with the working folder set to folder, hidden or shown. Without
// wait it returns the process handle, which the caller closes. With wait it
// waits for the program to end, closes the handle itself and returns the
// current-process pseudo handle, a non-null marker that is harmless to
// CloseHandle. Null when the program could not be started.
void* RunProgramHidden(const char* command, const char* folder, bool wait);
void* RunProgramShown(const char* command, const char* folder, bool wait);

// Brings a browser window with the URL to the front: unless a top-level
// window titled existingTitle exists, starts "iexplore.exe" with the URL
// and waits up to 6 s for a window titled awaitedTitle, then shows that
// window maximised in the foreground. Where Internet Explorer cannot be
// started, an http(s) address goes to the user's default browser instead.
// Blocks; see the Async form.
bool OpenBrowserPage(const char* existingTitle, const char* url, const char* awaitedTitle);
// The plug-in's form: OpenBrowserPage(url, url, url + " - Microsoft Internet
// Explorer") on a new thread. False when the thread could not be started.
bool OpenBrowserPageAsync(const char* url);

// Advert and artist links: prefix entry 0 of [Advert] or [MyStar] followed by
// "s=", s, "&a=", a, "&b=", b, opened with OpenBrowserPageAsync. False when
// the count or entry 0 is missing.
bool OpenAdvertPage(const char* s, const char* a, const char* b);
bool OpenStarPage(const char* s, const char* a, const char* b);

// ---- Other helpers ---------------------------------------------------------

// True when "<home>\face\pub.img" was last written 0 to 10 days ago by the
// 30-day-month rule; false when it is missing or the home is not registered.
bool IsRecentPublish();

// Reads line 1 (the user's numeric id, must be > 0) or line 2 of the user
// file "<system folder>\<Config/userfile>". Clears the buffer on failure,
// which includes a value too long for the buffer.
bool ReadUserFileLine(int line, char* buffer, size_t size);

// "wmp", "winamp" or "real" after the host executable's name, else its full path.
std::string HostPlayerName();
