#include "RecoProtocol.h"

#include <cstdio>
#include <cstring>

#include "KeyValueText.h"
#include "shared/Base64.h"
#include "shared/GbkText.h"

namespace zl {

namespace {

constexpr int kDefaultFailMinutes = 1440;
constexpr int kDefaultSuccessMinutes = 4320;
constexpr char kWordSeparator[] = "%2C";

template <size_t N>
void Fill(char (&field)[N], const std::string& value) {
  std::memset(field, 0, N);
  CopyGbkBounded(field, N, value.data(), value.size());
}

template <size_t N>
void Terminate(char (&field)[N]) {
  field[N - 1] = '\0';
}

// The text at an offset of the record, at most `bytes` long.
std::string TextAt(const RecoTagInfo& record, size_t offset, size_t bytes) {
  const char* p = reinterpret_cast<const char*>(&record) + offset;
  const void* nul = std::memchr(p, '\0', bytes);
  return std::string(p, nul ? static_cast<const char*>(nul) - p : bytes);
}

int32_t ReadInt32(const char* p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return static_cast<int32_t>(v);
}

void AppendInt32(std::string& out, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The number at the start of text, as atoi reads it (clamped to 32 bits);
// `end` receives where the digits stop, `any` whether there were digits.
int32_t LeadingNumber(const std::string& text, size_t& end, bool& any) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t v = 0;
  any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    any = true;
    if (v < (int64_t{1} << 32)) v = v * 10 + (text[i] - '0');
  }
  end = any ? i : 0;
  if (negative) v = -v;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

int32_t NumberOf(const std::string& text) {
  size_t end = 0;
  bool any = false;
  return LeadingNumber(text, end, any);
}

std::vector<std::string> SplitAtTabs(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t tab = text.find('\t', start);
    out.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

void ClearAnswerFields(RecoTagInfo& r) {
  r.resultId = 0;
  std::memset(r.title, 0, sizeof r.title);
  std::memset(r.artist, 0, sizeof r.artist);
  std::memset(r.album, 0, sizeof r.album);
  std::memset(r.field5, 0, sizeof r.field5);
  std::memset(r.field6, 0, sizeof r.field6);
  std::memset(r.field7, 0, sizeof r.field7);
  std::memset(r.field8, 0, sizeof r.field8);
  std::memset(r.lastField, 0, sizeof r.lastField);
}

// "1<TAB>id<TAB>title<TAB>artist<TAB>album<TAB>5<TAB>6<TAB>7<TAB>8<TAB>9<TAB>10":
// `rest` is what follows the first TAB.
void FillFound(RecoTagInfo& r, const std::string& rest) {
  ClearAnswerFields(r);
  const std::vector<std::string> f = SplitAtTabs(rest);
  auto at = [&f](size_t i) { return i < f.size() ? f[i] : std::string(); };
  r.resultId = NumberOf(at(0));
  Fill(r.title, at(1));
  Fill(r.artist, at(2));
  Fill(r.album, at(3));
  Fill(r.field5, at(4));
  Fill(r.field6, at(5));
  Fill(r.field7, at(6));
  Fill(r.field8, at(7));
  // The ninth field is a number the engine has no use for.
  Fill(r.lastField, at(9));
}

}  // namespace

std::string RecoMetaText(const RecoTagInfo& record, int index) {
  if (index < 0 || index > 2) return std::string();
  return TextAt(record, kRecoMetaTextOffsets[index], kRecoMetaTextBytes);
}

RecoTagInfo PrepareRecoTagInfo(const std::string& songPath, const std::string& title, const std::string& artist,
                               const std::string& album) {
  RecoTagInfo r;
  std::memset(&r, 0, sizeof r);
  CopyGbkBounded(r.songPath, 260, songPath.data(), songPath.size());
  CopyGbkBounded(r.title, 128, title.data(), title.size());
  CopyGbkBounded(r.artist, 128, artist.data(), artist.size());
  // The album keeps to its first 256 bytes: the metadata texts follow.
  CopyGbkBounded(r.album, 256, album.data(), album.size());
  return r;
}

std::string FormatHandOverFile(const std::vector<RecoTagInfo>& records) {
  std::string out;
  out.reserve(4 + records.size() * sizeof(RecoTagInfo));
  AppendInt32(out, static_cast<int32_t>(records.size()));
  for (const RecoTagInfo& r : records) out.append(reinterpret_cast<const char*>(&r), sizeof r);
  return out;
}

HandOverRead ParseHandOverFile(const char* data, size_t size, std::vector<RecoTagInfo>& records) {
  records.clear();
  if (!data || size < 4) return HandOverRead::TooShort;
  const int32_t count = ReadInt32(data);
  if (count <= 0 || count > kMaxHandOverRecords) return HandOverRead::BadCount;
  const size_t need = 4 + static_cast<size_t>(count) * sizeof(RecoTagInfo);
  if (size < need) return HandOverRead::Truncated;
  records.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    RecoTagInfo& r = records[static_cast<size_t>(i)];
    std::memcpy(&r, data + 4 + static_cast<size_t>(i) * sizeof r, sizeof r);
    Terminate(r.title);
    Terminate(r.artist);
    Terminate(r.album);
    Terminate(r.field5);
    Terminate(r.field6);
    Terminate(r.field7);
    Terminate(r.field8);
    Terminate(r.songPath);
    Terminate(r.reserved2560);
    Terminate(r.lastField);
  }
  return HandOverRead::Ok;
}

bool HasFingerprint(const RecoTagInfo& record) {
  for (uint32_t w : record.fp)
    if (w != 0) return true;
  return false;
}

std::string FingerprintText(const uint32_t (&words)[256]) {
  std::string out;
  out.reserve(256 * 11);
  char hex[16];
  for (size_t i = 0; i < 256; ++i) {
    if (i) out += kWordSeparator;
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(words[i]));
    out += hex;
  }
  return out;
}

void FingerprintWordsFromText(const std::string& text, uint32_t (&out)[256]) {
  std::memset(out, 0, sizeof out);
  size_t pos = 0;
  for (size_t word = 0; word < 256 && pos < text.size(); ++word) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) pos += 2;
    uint32_t v = 0;
    bool any = false;
    for (; pos < text.size(); ++pos) {
      const char c = text[pos];
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else break;
      v = (v << 4) | static_cast<uint32_t>(d);
      any = true;
    }
    if (!any) return;
    out[word] = v;
    if (text.compare(pos, 3, kWordSeparator) != 0) return;
    pos += 3;
  }
}

std::string RecognitionRequestLine(const std::string& userField, const RecoTagInfo& record, int64_t songFileSize,
                                   const std::string& songFileName) {
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "|%d|%d|%lld|", static_cast<int>(record.metaNumber2),
                static_cast<int>(record.metaNumber1), static_cast<long long>(songFileSize));
  char sig[48];
  std::snprintf(sig, sizeof sig, "%%09sig=%x%%2C%x", static_cast<unsigned>(record.audioSig[0]),
                static_cast<unsigned>(record.audioSig[1]));
  return "1" + userField + "%09meta=" + RecoMetaText(record, 0) + "|" + RecoMetaText(record, 1) + "|" +
         RecoMetaText(record, 2) + numbers + FieldText(record.field5) + "|" + songFileName + sig + "%09fp=" +
         FingerprintText(record.fp) + "%0D%0A";
}

std::string RecognitionRequestBody(const std::string& line) {
  std::string padded = line;
  while (padded.size() % 3 != 0) padded += '=';
  return Base64Encode(padded);
}

int ParseRecognitionAnswer(const char* data, size_t size, RecoTagInfo* records, int count) {
  if (!records) count = 0;
  size_t length = 0;
  if (data) {
    const void* nul = std::memchr(data, '\0', size);
    length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - data) : size;
  }
  if (length == 0) {
    for (int i = 0; i < count; ++i) records[i].status = RECO_STATUS_NO_ANSWER;
    return 2;
  }
  const std::string answer(data, length);
  size_t pos = 0;
  bool failed = false;
  for (int i = 0; i < count; ++i) {
    RecoTagInfo& r = records[i];
    if (r.status == RECO_STATUS_FOUND || r.status == RECO_STATUS_NOT_KNOWN) continue;
    std::string line;
    if (pos < answer.size()) {
      const size_t lf = answer.find('\n', pos);
      line = answer.substr(pos, lf == std::string::npos ? std::string::npos : lf - pos);
      pos = lf == std::string::npos ? answer.size() : lf + 1;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t end = 0;
    bool any = false;
    const int32_t code = LeadingNumber(line, end, any);
    if (any && code == 1 && end < line.size() && line[end] == '\t') {
      r.status = RECO_STATUS_FOUND;
      FillFound(r, line.substr(end + 1));
    } else if (any && code == 2) {
      r.status = RECO_STATUS_NOT_KNOWN;
    } else {
      r.status = RECO_STATUS_FAILED;
    }
  }
  for (int i = 0; i < count; ++i)
    if (records[i].status == RECO_STATUS_FAILED) failed = true;
  return failed ? 0 : 1;
}

int RecognitionIntervalMinutes(bool succeeded, int failMinutes, int successMinutes) {
  if (succeeded) return successMinutes > 0 ? successMinutes : kDefaultSuccessMinutes;
  return failMinutes > 0 ? failMinutes : kDefaultFailMinutes;
}

bool RecognitionOutcomeStands(const SongFileAtr& song, int64_t now, int failMinutes, int successMinutes) {
  if (song.goonrec != 0 || song.recTime == 0) return false;
  const int64_t age = now - song.recTime;
  const int64_t interval = RecognitionIntervalMinutes(song.recTitle[0] != '\0', failMinutes, successMinutes);
  return age >= 0 && age < interval * 60;
}

RecoOutcome ApplyRecognitionOutcome(SongFileAtr& song, const RecoTagInfo& last, int32_t now) {
  song.recTime = now;
  switch (last.status) {
    case RECO_STATUS_FOUND:
      CopyToField(song.recTitle, sizeof song.recTitle, TrimKeyValue(FieldText(last.title)));
      CopyToField(song.recArtist, sizeof song.recArtist, TrimKeyValue(FieldText(last.artist)));
      CopyToField(song.recAlbum, sizeof song.recAlbum, TrimKeyValue(FieldText(last.album)));
      song.goonrec = 0;
      return RecoOutcome::Found;
    case RECO_STATUS_NOT_KNOWN:
      song.goonrec = 0;
      return RecoOutcome::NotKnown;
    case RECO_STATUS_NO_ANSWER:
      song.goonrec = 1;
      return RecoOutcome::NoAnswer;
    default:
      return RecoOutcome::Failed;
  }
}

}  // namespace zl
