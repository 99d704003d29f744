#include "LyricTexts.h"

#include <cstdio>
#include <limits>

#include "KeyValueText.h"
#include "shared/GbkText.h"

namespace zl {

namespace {

constexpr size_t kEventNameLimit = 63;
constexpr size_t kEventTextLimit = 10239;

int32_t AddClamped(int32_t a, int32_t b) {
  const int64_t sum = int64_t{a} + b;
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

std::string SongNamesPart(const SongFileAtr& song) {
  return "S:" + FieldText(song.finalTitle) + "|AR:" + FieldText(song.finalArtist) +
         "|REC_S:" + FieldText(song.recTitle) + "|REC_AR:" + FieldText(song.recArtist);
}

std::string Cut(const std::string& text, size_t limit) {
  return text.substr(0, GbkCutLength(text.data(), text.size(), limit));
}

}  // namespace

void ShiftSentences(std::vector<TimeSentence>& list, int32_t ms) {
  for (TimeSentence& s : list) {
    s.startTime = AddClamped(s.startTime, ms);
    s.endTime = AddClamped(s.endTime, ms);
  }
}

std::string AdjustedLrcText(const LrcTags& tags, const std::vector<TimeSentence>& list) {
  return AdjustedLrcText(tags, list, {});
}

std::string AdjustedLrcText(const LrcTags& tags, const std::vector<TimeSentence>& list,
                            const std::vector<LineWords>& words) {
  static const LineWords none;
  std::string out;
  out += "[ti:" + FieldText(tags.ti) + "]\r\n";
  out += "[ar:" + FieldText(tags.ar) + "]\r\n";
  out += "[al:" + FieldText(tags.al) + "]\r\n";
  out += "[by:" + FieldText(tags.by) + "]\r\n";
  for (size_t i = 0; i < list.size(); ++i)
    out += LrcLineText(list[i].startTime, FieldText(list[i].text), i < words.size() ? words[i] : none) + "\r\n";
  return out;
}

std::string LrcLineText(int32_t start, const std::string& text, const LineWords& words) {
  std::string out = "[" + FormatLrcTime(start) + "]";
  size_t at = 0;
  for (const LyricWord& w : words) {
    const size_t byte = w.byte < text.size() ? w.byte : text.size();
    if (byte > at) out.append(text, at, byte - at), at = byte;
    out += "<" + FormatLrcTime(AddClamped(start, w.atMs)) + ">";
  }
  out.append(text, at, std::string::npos);
  return out;
}

std::string LyricPlainText(const std::vector<TimeSentence>& list) {
  std::string out;
  for (const TimeSentence& s : list) out += FieldText(s.text) + "\r\n";
  return out;
}

std::string LinkEventText(const SongFileAtr& song, const LrcTags& tags, const std::string& path) {
  return SongNamesPart(song) + "|F_S:" + FieldText(tags.ti) + "|F_AR:" + FieldText(tags.ar) + "F:" + path;
}

std::string UnlinkEventText(const SongFileAtr& song) { return SongNamesPart(song) + "F:CANCEL"; }

std::string TraceLine(const char* label, const std::tm& t, int milliseconds) {
  char time[48];
  std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, milliseconds);
  return std::string(label ? label : "") + time + "->\n";
}

std::string CutEventName(const std::string& name) { return Cut(name, kEventNameLimit); }

std::string CutEventText(const std::string& text) { return Cut(text, kEventTextLimit); }

}  // namespace zl
