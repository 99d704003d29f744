#pragma once
// The lyric server's request and answer, as bytes: the query's argument
// string, its scramble, the answer header, and the rules that keep an
// unpacked archive inside the resource folder and within bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lyriccore/LyricRecords.h"

namespace zl {

// Letters, digits and ! ' ( ) * - . _ ~ stay, "%" with two hex digits stays
// (the value is already escaped there), every other byte becomes %XX.
std::string EscapeQueryValue(const std::string& value);

// The song signature as the server takes it: lower-case hex joined by %252C.
std::string QuerySigText(uint32_t sig1, uint32_t sig2);

// "1" for a wanted list, "2" for a wanted resource, "3" otherwise.
const char* QueryTypeValue(ResultType wanted);
// "part" when the artist pictures are already there, else "full". (A full
// local state sends nothing at all; the caller checks that.)
const char* QueryReqValue(Pre_Set_State onDisk);

// Everything one query carries before escaping.
struct SearchQuery {
  std::string user, version, secondValue, host;
  ResultType wanted = RESULT_TYPE_CONTENT;
  Pre_Set_State onDisk = PRE_SET_NONE;
  std::string title, artist, resPath, zipSig, recoSn, recoArtist, fileName;
  uint32_t sig1 = 0, sig2 = 0;
  int32_t searchType = SEARCH_AUTOMATIC;
};

// The argument string in the server's order. Which names are filled
// depends on the search type; the keys of the others go out empty. Empty
// for an unknown search type.
std::string BuildSearchArguments(const SearchQuery& q);

// XOR with the cyclic key "plomber", then Base64.
std::string ScrambleArguments(const std::string& arguments);

// "<server>?<encoded>".
std::string SearchUrl(const std::string& server, const std::string& encoded);

enum class AnswerKind { Unknown, List, Content, None };

// The answer's header. The body starts at bodyOffset and runs to the end of
// the bytes; it may hold NUL bytes.
struct SearchAnswer {
  bool hasRcode = false;
  int rcode = 0;
  bool hasHitfrom = false;
  std::string hitfrom;
  bool hasRecNames = false;  // any of rtitle, rartist, ralbum was given
  std::string rtitle, rartist, ralbum;
  std::string zipSig, path, password, type;
  AnswerKind kind = AnswerKind::Unknown;
  size_t bodyOffset = 0;
};

// Reads the header (everything before the first CR LF CR LF). False when
// the bytes hold no such break: the answer is not in the server's format.
bool ParseSearchAnswerHeader(const char* data, size_t length, SearchAnswer& answer);

// Whether the server's rcode means that recognition has settled (goonrec 0).
bool RcodeSettlesRecognition(int rcode);

// An archive entry's name made safe for the resource folder: drive, UNC and
// root prefixes are dropped, "." and empty components are dropped, and the
// name is refused (false) when any component is "..", is made only of dots
// and blanks, names a device (NUL, CON, COM1...), or holds a ':' or a
// byte the file system refuses, or when a lead byte has no valid trail byte
// after it. Either
// slash separates; the result uses '\'. A trailing slash marks a folder.
// Double-byte characters are kept whole, so a trail byte 0x5C never splits.
bool SafeEntryName(const std::string& raw, std::string& safe, bool& isFolder);

// For an entry whose name holds ".lrc": its file name without folder and
// extension, cut at the first '-', gives artist (before) and title (after).
bool LyricNamesFromEntry(const std::string& entryName, std::string& artist, std::string& title);

// What one answer may unpack: far above a lyric with its pictures, far
// below what would fill a disk.
struct UnpackLimits {
  uint32_t maxEntries = 256;
  uint64_t maxEntryBytes = 16ull << 20;
  uint64_t maxTotalBytes = 48ull << 20;
};

// Counts what an unpack has written against its limits.
class UnpackBudget {
 public:
  explicit UnpackBudget(const UnpackLimits& limits = UnpackLimits()) : limits_(limits) {}
  // One more entry; false past the entry limit.
  bool AddEntry() { return ++entries_ <= limits_.maxEntries; }
  // Bytes of the current entry (so far) and of the whole answer; false as
  // soon as either limit would be passed.
  bool Take(uint64_t entryBytesSoFar, uint64_t moreBytes) {
    if (moreBytes > limits_.maxTotalBytes - total_ || entryBytesSoFar + moreBytes > limits_.maxEntryBytes) return false;
    total_ += moreBytes;
    return true;
  }
  uint64_t Total() const { return total_; }
  const UnpackLimits& Limits() const { return limits_; }

 private:
  UnpackLimits limits_;
  uint32_t entries_ = 0;
  uint64_t total_ = 0;
};

}  // namespace zl
