#pragma once
// Texts the engine builds from a lyric and the song record: the rewritten
// LRC file of a timing shift, the plain text of a lyric, the usage-event
// texts and the lines of the request trace.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "lyriccore/LyricRecords.h"

namespace zl {

// Adds ms to the start and end of every line (kept within 32 bits).
void ShiftSentences(std::vector<TimeSentence>& list, int32_t ms);

// The LRC text a shift writes: the ti, ar, al and by tags (always, also
// empty), then one "[mm:ss.xx]text" line per sentence in list order, every
// line ending in CR LF.
std::string AdjustedLrcText(const LrcTags& tags, const std::vector<TimeSentence>& list);
// The same with each line's word marks put back ("<mm:ss.xx>" before the
// word); `words` is empty or has one entry per sentence.
std::string AdjustedLrcText(const LrcTags& tags, const std::vector<TimeSentence>& list,
                            const std::vector<LineWords>& words);
// "[time]" and the text with its word marks, the times counted from `start`.
std::string LrcLineText(int32_t start, const std::string& text, const LineWords& words);

// Every line's text followed by CR LF.
std::string LyricPlainText(const std::vector<TimeSentence>& list);

// The LINKLRC event texts of a link and of an unlink.
std::string LinkEventText(const SongFileAtr& song, const LrcTags& tags, const std::string& path);
std::string UnlinkEventText(const SongFileAtr& song);

// One trace line: the label, the local time "YYYY-MM-DD hh:mm:ss.mmm" and "->\n".
std::string TraceLine(const char* label, const std::tm& local, int milliseconds);

// A usage event's name and text cut to what the sender takes (63 and 10239
// bytes), never inside a double-byte character.
std::string CutEventName(const std::string& name);
std::string CutEventText(const std::string& text);

}  // namespace zl
