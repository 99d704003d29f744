#pragma once
// Decisions on a song's resources that need nothing but the records.
#include <string>

#include "lyriccore/LyricRecords.h"

namespace zl {

// What of a resource is there: NONE unless both artist pictures and the
// Flash signature are; FULL when the lyric and the MV picture with its
// signature are there too; PART otherwise.
Pre_Set_State ResourceStateOf(const Content& c);

// How many of lyric, artist picture, Flash picture, MV picture, Flash
// signature and MV signature are there (0 to 6).
int ResourceCountOf(const Content& c);

// The advice on the song's tags: the final and recognised names, and
// whether to offer writing the recognised names into the tags (only when
// the match did not come from the tags, recognition has settled and found
// a title that differs from the final names).
void DecideTagUpdate(const SongFileAtr& song, const std::string& hitfrom, tagUpdateInfo& info);

// "first,second" in decimal, and back. Reading is lenient: blanks around the
// numbers are allowed, a missing number reads as 0; false when the text
// holds no digits at all.
std::string FormatSignPair(const SignPair& pair);
bool ParseSignPair(const std::string& text, SignPair& pair);

}  // namespace zl
