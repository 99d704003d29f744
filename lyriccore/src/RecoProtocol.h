#pragma once
// Fingerprint recognition as bytes: the hand-over file shared with the
// recognition engine, the request line and body sent to the recognition
// server, its answer, and the decisions on the song record around a run.
//
// The two parsers (ParseHandOverFile, ParseRecognitionAnswer) take a byte
// span and nothing else, so that they can be fed arbitrary input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lyriccore/LyricRecords.h"

namespace zl {

// ---- The record and the hand-over file ---------------------------------------

// The offsets of the recognition engine's three metadata texts inside the
// record (each 128 bytes, within the album field).
constexpr size_t kRecoMetaTextOffsets[3] = {520, 648, 776};
constexpr size_t kRecoMetaTextBytes = 128;

// The text of metadata text `index` (0 to 2), also when unterminated.
std::string RecoMetaText(const RecoTagInfo& record, int index);

// A record zeroed, then given the song path (259 bytes) and the song's final
// title and artist (127 bytes each) and album (255 bytes).
RecoTagInfo PrepareRecoTagInfo(const std::string& songPath, const std::string& title,
                                             const std::string& artist, const std::string& album);

// The most records a hand-over file may claim: the engine writes one; a file
// claiming more than this comes from a confused program.
constexpr int32_t kMaxHandOverRecords = 64;

// A 32-bit record count (little-endian) followed by the records.
std::string FormatHandOverFile(const std::vector<RecoTagInfo>& records);

enum class HandOverRead {
  Ok,
  TooShort,     // fewer than the 4 bytes of the count
  BadCount,     // a count of 0, below 0 or above kMaxHandOverRecords
  Truncated,    // fewer bytes than the count's records need
};

// Reads the records back. Every text field of every record is
// NUL-terminated afterwards, whatever the other program wrote. Bytes after
// the counted records are ignored. `records` is empty unless Ok.
HandOverRead ParseHandOverFile(const char* data, size_t size, std::vector<RecoTagInfo>& records);

// Whether the recognition engine left a fingerprint in the record: a record
// it did not fill still has every word 0.
bool HasFingerprint(const RecoTagInfo& record);

// ---- The request -------------------------------------------------------------

// The 256 fingerprint words in lower-case hex joined by the text "%2C".
std::string FingerprintText(const uint32_t (&words)[256]);

// The other way: hex numbers separated by "%2C" into consecutive words; at
// most 256 are read, the rest of `out` is 0. A number that cannot be read
// ends the list.
void FingerprintWordsFromText(const std::string& text, uint32_t (&out)[256]);

// The request line, from the record that the recognition engine filled:
// "1" + userField + "%09meta=" + the three metadata texts, the metadata
// numbers (second, then first), the song file's size, field5 and the song
// file's name, joined by "|"; "%09sig=" + the audio signature as hex joined
// by "%2C"; "%09fp=" + FingerprintText; "%0D%0A". The escapes are literal
// text: the line travels as one string.
std::string RecognitionRequestLine(const std::string& userField, const RecoTagInfo& record,
                                                 int64_t songFileSize, const std::string& songFileName);

// The POST body: the line with '=' bytes appended up to a multiple of 3
// bytes, in standard Base64 (so the body itself never ends in padding).
std::string RecognitionRequestBody(const std::string& line);

// ---- The answer --------------------------------------------------------------

// The answer into the records, one line (up to LF, a CR before it dropped)
// per record whose status is not already FOUND or NOT_KNOWN. A line
// starting with the number 1 and a TAB is FOUND and fills the answer
// fields (those it lacks are left empty); 2 is NOT_KNOWN; anything else,
// also 1 without a TAB, a missing line or no number, is FAILED. Returns 2
// for an empty answer (every record NO_ANSWER), else 0 when a record is
// FAILED, else 1. The answer ends at `size` or at a NUL byte.
int ParseRecognitionAnswer(const char* data, size_t size, RecoTagInfo* records, int count);

// ---- The song record around a run ----------------------------------------------

// Minutes a stored outcome holds: the configured value, or 1440 after a
// failure and 4320 after a success when it is 0 or below.
int RecognitionIntervalMinutes(bool succeeded, int failMinutes, int successMinutes);

// True when the song's stored outcome stands at `now` and no run is needed:
// goonrec is 0, recTime is set and lies 0 to interval minutes (exclusive)
// before now; the interval is the success one when the song has a recTitle.
bool RecognitionOutcomeStands(const SongFileAtr& song, int64_t now, int failMinutes,
                                            int successMinutes);

enum class RecoOutcome { Found, NotKnown, NoAnswer, Failed };

// Stores a finished run's outcome (the last record) in the song record:
// recTime = now; FOUND takes the names (trimmed of blanks, CR, LF and TAB,
// 99 bytes each) and clears goonrec; NOT_KNOWN clears goonrec; NO_ANSWER
// sets it (try again next time); anything else changes nothing more.
RecoOutcome ApplyRecognitionOutcome(SongFileAtr& song, const RecoTagInfo& last, int32_t now);

}  // namespace zl
