#include <algorithm>
#include <cstring>
#include <limits>

#include "lyriccore/LrcText.h"
#include "shared/GbkText.h"

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

void StoreTag(char (&field)[100], const char* b, const char* e) {
  zl::CopyGbkBounded(field, sizeof field, b, static_cast<size_t>(e - b));
}

// Stores an identification tag; false when the content is not one.
bool TakeIdTag(const char* b, const char* e, LrcTags& tags, int32_t& offset) {
  if (StartsWithNoCase(b, e, "ti:")) return StoreTag(tags.ti, b + 3, e), true;
  if (StartsWithNoCase(b, e, "ar:")) return StoreTag(tags.ar, b + 3, e), true;
  if (StartsWithNoCase(b, e, "al:")) return StoreTag(tags.al, b + 3, e), true;
  if (StartsWithNoCase(b, e, "offset:")) return offset = ReadOffset(b + 7, e), true;
  if (StartsWithNoCase(b, e, "by:")) return StoreTag(tags.by, b + 3, e), true;
  return false;
}

bool IsTrimmed(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

// A sentence before the sort: its text is a slice of the input.
struct RawLine {
  int32_t start;
  uint32_t textLen;
  size_t textBegin;
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

}  // namespace

void ParseLrcText(const std::string& text, LrcTags& tags, std::vector<TimeSentence>& list,
                  int32_t songLengthMs) {
  std::memset(&tags, 0, sizeof tags);
  list.clear();

  const char* s = text.data();
  const size_t n = text.size();
  // Every sentence needs a '[' and at least five bytes of time tag, which
  // bounds the list: it is allocated once instead of regrown while parsing.
  std::vector<RawLine> lines;
  size_t brackets = 0;
  for (const char* p = s; (p = static_cast<const char*>(std::memchr(p, '[', static_cast<size_t>(s + n - p)))); ++p)
    ++brackets;
  lines.reserve(std::min(brackets, n / 5));
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
    if (TakeIdTag(s + open + 1, s + close, tags, offset)) continue;
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
    const size_t len = zl::GbkCutLength(s + b, e - b, sizeof(TimeSentence::text) - 1);

    for (int32_t t : times) {
      const int32_t start = ClampMs(static_cast<int64_t>(t) + offset);
      if (!lines.empty() && start < lines.back().start) sorted = false;
      lines.push_back({start, static_cast<uint32_t>(len), b});
    }
    if (unclosed) break;  // a bracket that never closes ends the parse
    pos = textEnd;
  }

  if (!sorted) SortByStart(lines);

  // One pass over the records: each is zeroed and filled while in cache.
  list.reserve(lines.size());
  for (const RawLine& l : lines) {
    TimeSentence& t = list.emplace_back();
    t.startTime = l.start;
    std::memcpy(t.text, s + l.textBegin, l.textLen);
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
