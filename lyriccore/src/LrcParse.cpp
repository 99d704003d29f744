#include <algorithm>
#include <cstring>
#include <limits>

#include "LyricFileText.h"
#include "lyriccore/LrcText.h"
#include "shared/GbkText.h"
#include "shared/TextEncoding.h"

namespace {

constexpr size_t kNone = std::string::npos;
constexpr int64_t kMaxMs = std::numeric_limits<int32_t>::max();
constexpr int64_t kMinMs = std::numeric_limits<int32_t>::min();

int32_t ClampMs(int64_t v) {
  return static_cast<int32_t>(std::min(kMaxMs, std::max(kMinMs, v)));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A '[' followed by a digit, '-' or one of the lowercase letters t, a, o, b.
bool IsTagStart(const char* s, size_t n, size_t p) {
  if (p + 1 >= n || s[p] != '[') return false;
  const char c = s[p + 1];
  return IsDigit(c) || c == '-' || c == 't' || c == 'a' || c == 'o' || c == 'b';
}

size_t NextTagStart(const char* s, size_t n, size_t p) {
  while (p < n) {
    const void* hit = std::memchr(s + p, '[', n - p);
    if (!hit) return kNone;
    p = static_cast<size_t>(static_cast<const char*>(hit) - s);
    if (IsTagStart(s, n, p)) return p;
    ++p;
  }
  return kNone;
}

size_t Find(const char* s, size_t n, size_t from, char c) {
  if (from >= n) return kNone;
  const void* hit = std::memchr(s + from, c, n - from);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - s) : kNone;
}

// Digits are summed with saturation: absurd tags must not overflow.
uint64_t ReadDigits(const char* b, const char* e) {
  uint64_t v = 0;
  for (; b < e; ++b) v = std::min<uint64_t>(v * 10 + static_cast<uint64_t>(*b - '0'), 1000000000000ULL);
  return v;
}

// Bracket content of 2 or 3 digit groups split by runs of ':' and '.', with an
// optional leading '-'. The third group counts milliseconds (3 digits, cut or
// padded on the right).
bool ParseTimeTag(const char* b, const char* e, int32_t& ms) {
  bool negative = false;
  if (b < e && *b == '-') {
    negative = true;
    ++b;
  }
  const char* groupBegin[3];
  const char* groupEnd[3];
  int groups = 0;
  while (b < e) {
    if (*b == ':' || *b == '.') {
      ++b;
      continue;
    }
    if (!IsDigit(*b) || groups == 3) return false;
    groupBegin[groups] = b;
    while (b < e && IsDigit(*b)) ++b;
    groupEnd[groups++] = b;
  }
  if (groups < 2) return false;
  uint64_t value = ReadDigits(groupBegin[0], groupEnd[0]) * 60000 +
                   ReadDigits(groupBegin[1], groupEnd[1]) * 1000;
  if (groups == 3) {
    uint64_t f = 0;
    const char* d = groupBegin[2];
    for (int i = 0; i < 3; ++i) f = f * 10 + ((d < groupEnd[2]) ? static_cast<uint64_t>(*d++ - '0') : 0);
    value += f;
  }
  const int64_t v = static_cast<int64_t>(std::min<uint64_t>(value, static_cast<uint64_t>(kMaxMs)));
  ms = static_cast<int32_t>(negative ? -v : v);
  return true;
}

bool StartsWithNoCase(const char* b, const char* e, const char* name) {
  const size_t len = std::strlen(name);
  if (static_cast<size_t>(e - b) < len) return false;
  for (size_t i = 0; i < len; ++i) {
    char c = b[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != name[i]) return false;
  }
  return true;
}

// Signed decimal after optional blanks and sign; anything unreadable is 0.
int32_t ReadOffset(const char* b, const char* e) {
  while (b < e && (*b == ' ' || *b == '\t' || *b == '\r' || *b == '\n' || *b == '\v' || *b == '\f')) ++b;
  bool negative = false;
  if (b < e && (*b == '+' || *b == '-')) negative = (*b++ == '-');
  const char* digitsEnd = b;
  while (digitsEnd < e && IsDigit(*digitsEnd)) ++digitsEnd;
  const int64_t v = static_cast<int64_t>(ReadDigits(b, digitsEnd));
  return ClampMs(negative ? -v : v);
}

bool IsTrimmed(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

// A sentence before the sort; lines of one run of time tags share their text.
struct RawLine {
  int32_t start;
  uint32_t run;
};

// The text of a run: a slice of the input (trimmed), and the time of its
// first tag as written (word times count from it).
struct Run {
  size_t begin, end;
  int32_t firstTagMs;
};

struct Slice {
  size_t begin = 0, end = 0;
  bool present = false;
};

// Everything the text says, before any text is copied.
struct LrcScan {
  std::vector<RawLine> lines;  // sorted by start
  std::vector<Run> runs;
  Slice ti, ar, al, by;
};

// Stable sort by start time. Lines with equal start keep the file's order: a
// repeated chorus with a duplicated timestamp should read as it was written.
// Large lists take an LSD radix sort so that parsing stays linear in the input.
void SortByStart(std::vector<RawLine>& lines) {
  if (lines.size() < 1024) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const RawLine& a, const RawLine& b) { return a.start < b.start; });
    return;
  }
  auto key = [](const RawLine& l) { return static_cast<uint32_t>(l.start) ^ 0x80000000u; };
  std::vector<RawLine> scratch(lines.size());
  std::vector<RawLine>* from = &lines;
  std::vector<RawLine>* to = &scratch;
  for (int shift = 0; shift < 32; shift += 8) {
    size_t count[257] = {};
    for (const RawLine& l : *from) ++count[((key(l) >> shift) & 0xFFu) + 1];
    if (count[1 + ((key(from->front()) >> shift) & 0xFFu)] == from->size()) continue;  // one bucket
    for (int b = 0; b < 256; ++b) count[b + 1] += count[b];
    for (const RawLine& l : *from) (*to)[count[(key(l) >> shift) & 0xFFu]++] = l;
    std::swap(from, to);
  }
  if (from != &lines) lines.swap(scratch);
}

// Identification tags are only located here; their values are copied by the
// caller, which knows the text's encoding.
bool TakeIdTag(const char* s, size_t b, size_t e, LrcScan& scan, int32_t& offset) {
  auto take = [&](Slice& slice, size_t nameLength) {
    slice = Slice{b + nameLength, e, true};
    return true;
  };
  const char* p = s + b;
  const char* q = s + e;
  if (StartsWithNoCase(p, q, "ti:")) return take(scan.ti, 3);
  if (StartsWithNoCase(p, q, "ar:")) return take(scan.ar, 3);
  if (StartsWithNoCase(p, q, "al:")) return take(scan.al, 3);
  if (StartsWithNoCase(p, q, "offset:")) return offset = ReadOffset(p + 7, q), true;
  if (StartsWithNoCase(p, q, "by:")) return take(scan.by, 3);
  return false;
}

void ScanLrc(const char* s, size_t n, LrcScan& scan) {
  // Every sentence needs a '[' and at least five bytes of time tag, which
  // bounds the list: it is allocated once instead of regrown while parsing.
  size_t brackets = 0;
  for (const char* p = s; (p = static_cast<const char*>(std::memchr(p, '[', static_cast<size_t>(s + n - p)))); ++p)
    ++brackets;
  scan.lines.reserve(std::min(brackets, n / 5));
  std::vector<int32_t> times;
  int32_t offset = 0;
  bool sorted = true;
  size_t pos = 0;

  while (pos < n) {
    const size_t open = NextTagStart(s, n, pos);
    if (open == kNone) break;
    const size_t close = Find(s, n, open + 1, ']');
    if (close == kNone) break;
    pos = close;
    int32_t ms = 0;
    if (TakeIdTag(s, open + 1, close, scan, offset)) continue;
    if (!ParseTimeTag(s + open + 1, s + close, ms)) continue;

    // A run of brackets right after one another shares the text behind it.
    times.assign(1, ms);
    size_t last = close;
    bool unclosed = false;
    while (IsTagStart(s, n, last + 1)) {
      const size_t runClose = Find(s, n, last + 2, ']');
      if (runClose == kNone) {
        unclosed = true;
        break;
      }
      if (ParseTimeTag(s + last + 2, s + runClose, ms)) times.push_back(ms);
      last = runClose;
    }

    // The text runs on over untimed lines up to the next tag start.
    size_t textBegin = last + 1, textEnd = textBegin;
    if (!unclosed) {
      const size_t next = NextTagStart(s, n, textBegin);
      if (next != kNone) {
        textEnd = next;
      } else {
        const size_t lf = Find(s, n, textBegin, '\n');
        textEnd = (lf == kNone) ? n : lf;
      }
    }
    size_t b = textBegin, e = std::max(textBegin, textEnd);
    while (b < e && IsTrimmed(s[b])) ++b;
    while (e > b && IsTrimmed(s[e - 1])) --e;

    const uint32_t run = static_cast<uint32_t>(scan.runs.size());
    scan.runs.push_back(Run{b, e, times.front()});
    for (int32_t t : times) {
      const int32_t start = ClampMs(static_cast<int64_t>(t) + offset);
      if (!scan.lines.empty() && start < scan.lines.back().start) sorted = false;
      scan.lines.push_back({start, run});
    }
    if (unclosed) break;  // a bracket that never closes ends the parse
    pos = textEnd;
  }
  if (!sorted) SortByStart(scan.lines);
}

// The shown text of a run and its word times, built from its pieces: text
// between the word marks, each converted for display by `show`.
struct ShownRun {
  std::string text;
  LineWords words;
};

// Walks a run's text: the pieces between word marks ("<mm:ss.xx>"), and the
// marks' times counted from the run's first tag as written (so that the
// [offset:] shift and a repeated line's other tags carry them along).
template <typename OnText, typename OnMark>
void ForEachPiece(const char* s, const Run& run, OnText onText, OnMark onMark) {
  size_t from = run.begin;
  size_t p = run.begin;
  while (p < run.end) {
    const void* hit = std::memchr(s + p, '<', run.end - p);
    if (!hit) break;
    const size_t open = static_cast<size_t>(static_cast<const char*>(hit) - s);
    const size_t close = Find(s, run.end, open + 1, '>');
    if (close == kNone) break;
    int32_t ms = 0;
    if (!ParseTimeTag(s + open + 1, s + close, ms)) {
      p = open + 1;  // "<3" or "<b>": plain text
      continue;
    }
    onText(s + from, open - from);
    const int64_t at = static_cast<int64_t>(ms) - run.firstTagMs;
    onMark(static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(at, 0), kMaxMs)));
    from = p = close + 1;
  }
  onText(s + from, run.end - from);
}

template <typename Show>
void BuildShownRun(const char* s, const Run& run, Show show, ShownRun& out) {
  out.text.clear();
  out.words.clear();
  ForEachPiece(
      s, run, [&](const char* p, size_t n) { show(p, n, out.text); },
      [&](int32_t atMs) { out.words.push_back(LyricWord{atMs, static_cast<uint32_t>(out.text.size())}); });

  // The field ends at a NUL (as a text copied straight does); removing the
  // marks may have bared blanks at either end.
  const size_t nul = out.text.find('\0');
  if (nul != std::string::npos) out.text.resize(nul);
  size_t b = 0, e = out.text.size();
  while (b < e && IsTrimmed(out.text[b])) ++b;
  while (e > b && IsTrimmed(out.text[e - 1])) --e;
  const size_t len = zl::GbkCutLength(out.text.data() + b, e - b, sizeof(TimeSentence::text) - 1);
  out.text = out.text.substr(b, len);
  for (LyricWord& w : out.words)
    w.byte = static_cast<uint32_t>(std::min<size_t>(w.byte > b ? w.byte - b : 0, len));
}

bool HasWordMark(const char* s, const Run& run) {
  return std::memchr(s + run.begin, '<', run.end - run.begin) != nullptr;
}

// Sentences from a scan: times from the lines, texts from their runs (cut to
// the field), end times from the next line and the song length.
template <typename Show>
void FinishLyric(const char* s, const LrcScan& scan, Show show, bool plainBytes, std::vector<TimeSentence>& list,
                 std::vector<LineWords>* words, int32_t songLengthMs) {
  // Runs without word marks whose text needs no conversion are copied
  // straight from the input; only the others get a text of their own.
  std::vector<ShownRun> shown;
  std::vector<int32_t> shownOf;
  bool anyWords = false;
  // Most lyrics have no '<' at all: one look at the whole text settles it.
  const bool anyMark = !scan.runs.empty() &&
                       std::memchr(s + scan.runs.front().begin, '<', scan.runs.back().end - scan.runs.front().begin);
  if (!plainBytes || anyMark) shownOf.assign(scan.runs.size(), -1);
  for (size_t r = 0; r < shownOf.size(); ++r) {
    if (plainBytes && !HasWordMark(s, scan.runs[r])) continue;
    shownOf[r] = static_cast<int32_t>(shown.size());
    shown.emplace_back();
    BuildShownRun(s, scan.runs[r], show, shown.back());
    anyWords = anyWords || !shown.back().words.empty();
  }

  // One pass over the records: each is zeroed and filled while in cache.
  list.reserve(scan.lines.size());
  if (words && anyWords) words->reserve(scan.lines.size());
  for (const RawLine& l : scan.lines) {
    TimeSentence& t = list.emplace_back();
    t.startTime = l.start;
    const int32_t k = shownOf.empty() ? -1 : shownOf[l.run];
    if (k < 0) {
      const Run& run = scan.runs[l.run];
      const size_t len = zl::GbkCutLength(s + run.begin, run.end - run.begin, sizeof t.text - 1);
      std::memcpy(t.text, s + run.begin, len);
      if (words && anyWords) words->emplace_back();
    } else {
      const ShownRun& sr = shown[static_cast<size_t>(k)];
      std::memcpy(t.text, sr.text.data(), sr.text.size());
      if (words && anyWords) words->push_back(sr.words);
    }
  }

  const size_t count = list.size();
  for (size_t i = 0; i + 1 < count; ++i) list[i].endTime = list[i + 1].startTime;
  if (count == 1) {
    list[0].endTime = list[0].startTime < songLengthMs ? songLengthMs : list[0].startTime;
  } else if (count > 1) {
    TimeSentence& lastLine = list[count - 1];
    const TimeSentence& before = list[count - 2];
    lastLine.endTime = lastLine.startTime < songLengthMs
                           ? songLengthMs
                           : ClampMs(static_cast<int64_t>(lastLine.startTime) +
                                     (static_cast<int64_t>(before.endTime) - before.startTime));
  }
}

void AppendBytes(const char* p, size_t n, std::string& out) { out.append(p, n); }

void StoreTag(char (&field)[100], const std::string& value) {
  zl::CopyGbkBounded(field, sizeof field, value.data(), value.size());
}

void ParseCodePage(const std::string& text, LrcTags& tags, std::vector<TimeSentence>& list,
                   std::vector<LineWords>* words, int32_t songLengthMs) {
  std::memset(&tags, 0, sizeof tags);
  list.clear();
  if (words) words->clear();
  const char* s = text.data();
  LrcScan scan;
  ScanLrc(s, text.size(), scan);
  auto tag = [s](char (&field)[100], const Slice& slice) {
    if (slice.present) zl::CopyGbkBounded(field, sizeof field, s + slice.begin, slice.end - slice.begin);
  };
  tag(tags.ti, scan.ti);
  tag(tags.ar, scan.ar);
  tag(tags.al, scan.al);
  tag(tags.by, scan.by);
  FinishLyric(s, scan, AppendBytes, true, list, words, songLengthMs);
}

}  // namespace

void ParseLrcText(const std::string& text, LrcTags& tags, std::vector<TimeSentence>& list,
                  int32_t songLengthMs) {
  ParseCodePage(text, tags, list, nullptr, songLengthMs);
}

void ParseLrcText(const std::string& text, LrcTags& tags, std::vector<TimeSentence>& list,
                  std::vector<LineWords>& words, int32_t songLengthMs) {
  ParseCodePage(text, tags, list, &words, songLengthMs);
}

void ParseLrcUtf8(const std::string& utf8, const zl::CodePageConverter& codePage, LrcTags& tags,
                  std::vector<TimeSentence>& list, std::vector<LineWords>& words, int32_t songLengthMs) {
  std::memset(&tags, 0, sizeof tags);
  list.clear();
  words.clear();
  // The structure is read in UTF-8, where no byte of a character can pass
  // for a bracket; only the texts are converted for display.
  const char* s = utf8.data();
  LrcScan scan;
  ScanLrc(s, utf8.size(), scan);
  auto tag = [&](char (&field)[100], const Slice& slice) {
    if (slice.present) StoreTag(field, zl::Utf8ToCodePage(utf8.substr(slice.begin, slice.end - slice.begin), codePage));
  };
  tag(tags.ti, scan.ti);
  tag(tags.ar, scan.ar);
  tag(tags.al, scan.al);
  tag(tags.by, scan.by);
  auto show = [&codePage](const char* p, size_t n, std::string& out) {
    if (n) out += zl::Utf8ToCodePage(std::string(p, n), codePage);
  };
  FinishLyric(s, scan, show, false, list, &words, songLengthMs);
}

void ParseLyricBytes(const std::string& bytes, const zl::CodePageConverter& codePage, LrcTags& tags,
                     std::vector<TimeSentence>& list, std::vector<LineWords>& words, int32_t songLengthMs,
                     zl::TextEncoding* encoding) {
  const zl::TextEncoding found = zl::DetectTextEncoding(bytes);
  if (encoding) *encoding = found;
  if (found == zl::TextEncoding::CodePage)
    ParseLrcText(bytes, tags, list, words, songLengthMs);
  else
    ParseLrcUtf8(zl::UnicodeFileToUtf8(bytes, found), codePage, tags, list, words, songLengthMs);
}

void UnicodeLyricLines(const std::string& utf8, UnicodeLyricTags& tags, std::vector<UnicodeLyricLine>& lines) {
  lines.clear();
  tags = UnicodeLyricTags();
  const char* s = utf8.data();
  LrcScan scan;
  ScanLrc(s, utf8.size(), scan);
  auto tag = [&](std::string& out, const Slice& slice) {
    if (slice.present) out = utf8.substr(slice.begin, slice.end - slice.begin);
  };
  tag(tags.ti, scan.ti);
  tag(tags.ar, scan.ar);
  tag(tags.al, scan.al);
  tag(tags.by, scan.by);
  lines.reserve(scan.lines.size());
  for (const RawLine& l : scan.lines) {
    UnicodeLyricLine line;
    line.startTime = l.start;
    // Uncut: a rewrite keeps the whole line.
    ForEachPiece(
        s, scan.runs[l.run], [&](const char* p, size_t n) { line.text.append(p, n); },
        [&](int32_t atMs) { line.words.push_back(LyricWord{atMs, static_cast<uint32_t>(line.text.size())}); });
    lines.push_back(std::move(line));
  }
}
