#pragma once
// The controller's decisions that need no system call: which songs can have
// lyrics, what the song-check round sees, the MV statuses of a result, the
// play log line and the tag tool's hand-over bytes.
#include <cstdint>
#include <string>

#include "lyriccore/LyricRecords.h"

// ---- Supported songs --------------------------------------------------------

enum class SongSupport { Supported, NotSupported, RmNeedsSize };

// Not empty, not a web stream ("http..."), and the extension after the last
// "." (any case) is ".mp3", ".wma" or ".ram"; ".rm" depends on the file's size.
SongSupport ClassifySong(const std::string& path);
// A ".rm" file is supported when it opened and is smaller than 3 MiB.
constexpr uint64_t kRmSizeLimit = 0x300000;
inline bool RmSizeSupported(bool opened, uint64_t size) { return opened && size < kRmSizeLimit; }

// ---- Song check -------------------------------------------------------------

// Windows paths name the same file whatever their case: whole paths are
// compared without regard to ASCII case.
bool SamePath(const std::string& a, const std::string& b);

enum class SongCheckEvent { None, ChangeSong, Play };

// One round of the song check: the player's current path against the last
// and previous songs (updated in place). An empty path is no song.
SongCheckEvent DecideSongCheck(const std::string& current, std::string& lastSong, std::string& previousSong);
// The player's Stop button: the last song becomes the previous one.
void ApplyStop(std::string& lastSong, std::string& previousSong);

// The modern skin is a name beginning with these 13 characters.
bool IsModernSkinName(const std::string& skinName);

// ---- Fetch results ----------------------------------------------------------

struct P2PRequest {
  SignPair flv;
  SignPair swf;
  int flvStatus;
  int swfStatus;
};

// The MV request for a fetch result: what the view offers decides whether
// the song's MV and the artist's pictures are asked for.
P2PRequest DeriveP2PRequest(Result result, const Content& content, bool viewOffersMv, bool viewOffersPictures);

// The pre-fetch starts once less than this is left of the song.
constexpr int kPrefetchLeadMs = 120000;
// The duration a song is taken to have when the player gives none.
constexpr int kUnknownDurationMs = 180000;
inline bool PrefetchDue(int durationMs, int positionMs, bool prefetchAllowed) {
  return prefetchAllowed || static_cast<int64_t>(durationMs) - positionMs < kPrefetchLeadMs;
}
inline int SongDuration(int playerDurationMs) { return playerDurationMs ? playerDurationMs : kUnknownDurationMs; }

// The folder name, a backslash and the file name; "" without a separator.
std::string LastTwoComponents(const std::string& path);

struct PlayLogNames {
  std::string finalTitle, finalArtist, finalAlbum;
  std::string recTitle, recArtist, recAlbum;
};
// "F:<song>|S<title>AR<artist>AL<album>|REC:S<..>AR<..>AL<..>|LRC:<OK or NOT>".
std::string PlayLogLine(const std::string& songPath, const PlayLogNames& names, bool hasLyric);

// "S<artist>|AR<title>", the text of the MV usage events.
std::string MvEventText(const char* artist, const char* title);

// ---- Tag writing --------------------------------------------------------------

// The hand-over file of the tag tool: the 32-bit value 1, then the 1800
// bytes from offset 512 of the recognised-tags record (title 256, artist
// 256, album 256 bytes, then zeros). Names are cut to their fields.
std::string TagHandOverBytes(const std::string& title, const std::string& artist, const std::string& album);
constexpr size_t kTagHandOverSize = 4 + 1800;
// "<home>\update\tag<host>.tmp", host the program's file name without folder
// and extension.
std::string TagHandOverPath(const std::string& home, const std::string& hostProgramPath);
// tagprobe.exe S "<hand-over file>" "<song>"
std::string TagToolCommand(const std::string& handOverPath, const std::string& songPath);

// ---- Player-running flag ------------------------------------------------------

struct PlayerKind {
  std::string name;  // "wmp", "winamp", "real"; empty: not a known player
  std::string flag;  // registry value name
};
PlayerKind PlayerKindFromPath(const std::string& hostProgramPath);
