#pragma once
// The song info file: what is known of one song and what the server last
// answered for it. Text, key=value lines ending in CR LF:
//
//   [SongFileAtr]
//   songPath=… tagArtist=… … updTime=…   (one key per line, fixed order)
//   [Resource]
//   TP=list, a blank line, then per candidate ARTIST/SONGNAME/PROVIDER/PATH
//     and a blank line;
//   or TP=content, a blank line, then the resource's keys;
//   or nothing more for "no resource".
#include <cstdint>
#include <string>
#include <vector>

#include "lyriccore/LyricRecords.h"

namespace zl {

// Everything an info file records besides the song record itself.
struct InfoFileAnswer {
  ResultType type = RESULT_TYPE_NONE;  // LIST, CONTENT, anything else: nothing
  std::vector<SearchItem> list;
  Content content{};
  std::string zipSig;   // the resource's zip signature ("sig=")
  std::string resPath;  // the resource's path on the server ("path=")
};

// The whole file; `updTime` is written into the text (the record's own
// updTime is not used).
std::string FormatInfoFile(const SongFileAtr& song, const std::string& hitfrom, const InfoFileAnswer& answer,
                           int32_t updTime);

// Splits the text at its two section heads (each a line of its own, the song
// part first). False when either is missing.
bool SplitInfoFile(const std::string& text, std::string& songPart, std::string& resourcePart);

// Fills the song record from the song part. Names are cut to 99 bytes;
// songPath and FP are not read back; nKbps only when the record has none.
void ReadSongAttributes(const std::string& songPart, SongFileAtr& song, std::string& hitfrom);

// The kind of answer the resource part records: a TP value containing
// "list" or "content"; anything else is nothing. `after` receives the text
// after the TP line (where a list's candidates are).
ResultType InfoAnswerType(const std::string& resourcePart, std::string& after);

// Candidate blocks separated by blank lines, each of ARTIST, SONGNAME,
// PROVIDER and PATH lines; appended to the list in order. Blocks holding
// none of those keys are skipped.
void ParseSearchList(const std::string& body, std::vector<SearchItem>& list);

// The keys of a resource description into the Content, and its zip
// signature and server path.
void ReadResourceFields(const std::string& text, Content& content, std::string& zipSig, std::string& resPath);

// Whether info written at updTime still holds at `now` (seconds since 1970):
// not older than the interval (minutes; 0 or less means 1440) and not in
// the future.
bool IsInfoFresh(int64_t now, int32_t updTime, int intervalMinutes);

}  // namespace zl
