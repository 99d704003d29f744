// Carrying the frames of a 2.2 or 2.4 tag over into the 2.3 tag we write, so
// that pictures, lyrics, track numbers and the like survive a name change.
#include <cstring>

#include "Id3v2Write.h"
#include "TagText.h"

namespace tagprobe {

namespace {

struct IdPair {
  const char* v22;
  const char* v23;
};

// 2.2 frames with a 2.3 form (CRM and LNK have none and are dropped). The
// last six are iTunes' additions, in use by every later tagger.
constexpr IdPair kIds22[] = {
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"}, {"EQU", "EQUA"},
    {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"MCI", "MCDI"}, {"MLL", "MLLT"}, {"PIC", "APIC"}, {"POP", "POPM"},
    {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"},
    {"TCM", "TCOM"}, {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"},
    {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"}, {"TMT", "TMED"},
    {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"}, {"TP1", "TPE1"},
    {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"}, {"TPB", "TPUB"}, {"TRC", "TSRC"},
    {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"},
    {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"}, {"ULT", "USLT"},
    {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"}, {"WPB", "WPUB"},
    {"WXX", "WXXX"}, {"TCP", "TCMP"}, {"TS2", "TSO2"}, {"TSA", "TSOA"}, {"TSC", "TSOC"}, {"TSP", "TSOP"},
    {"TST", "TSOT"},
};

// End of the string that starts at p[0]: its length, and in `next` the
// position after its terminator (n when it has none).
size_t StringLength(uint8_t enc, const uint8_t* p, size_t n, size_t& next) {
  if (enc == kUtf16Bom || enc == kUtf16Be) {
    for (size_t i = 0; i + 1 < n; i += 2) {
      if (p[i] == 0 && p[i + 1] == 0) {
        next = i + 2;
        return i;
      }
    }
    next = n;
    return n;
  }
  const void* nul = std::memchr(p, 0, n);
  const size_t len = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - p) : n;
  next = nul ? len + 1 : n;
  return len;
}

std::u16string DecodeString(uint8_t enc, const uint8_t* p, size_t n) {
  switch (enc) {
    case kUtf16Be:
      return Utf16FromBytes(p, n, true);
    case kUtf8:
      return Utf8ToUtf16(p, n);
    case kUtf16Bom:
      if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) return Utf16FromBytes(p + 2, n - 2, true);
      if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) return Utf16FromBytes(p + 2, n - 2, false);
      return Utf16FromBytes(p, n, false);
    default:
      return std::u16string(p, p + n);
  }
}

// Re-encodes `count` strings (all when 0) from p as UTF-16 with BOM; returns
// how many input bytes they took.
size_t StringsToUtf16(uint8_t enc, const uint8_t* p, size_t n, size_t count, Bytes& out) {
  size_t pos = 0;
  for (size_t k = 0; pos < n && (count == 0 || k < count); ++k) {
    size_t next;
    const size_t len = StringLength(enc, p + pos, n - pos, next);
    std::u16string s = DecodeString(enc, p + pos, len);
    if (!s.empty() && s.front() == 0xFEFF) s.erase(0, 1);
    out.push_back(0xFF), out.push_back(0xFE);
    PutUtf16Le(out, s);
    if (next > len) out.push_back(0), out.push_back(0);
    pos += next;
  }
  return pos;
}

// The 2.3 text encodings are Latin-1 and UTF-16 with BOM; 2.4 added UTF-16BE
// and UTF-8, which 2.3 readers would show as garbage.
Bytes ReencodeFor23(const std::string& id, const Bytes& d) {
  if (d.empty() || (d[0] != kUtf16Be && d[0] != kUtf8)) return d;
  const uint8_t enc = d[0];
  const uint8_t* p = d.data() + 1;
  const size_t n = d.size() - 1;
  Bytes out{kUtf16Bom};
  if (id[0] == 'T') {
    StringsToUtf16(enc, p, n, 0, out);
  } else if ((id == "COMM" || id == "USLT") && n >= 3) {
    Append(out, p, 3);  // language
    StringsToUtf16(enc, p + 3, n - 3, 0, out);
  } else if (id == "WXXX") {
    const size_t used = StringsToUtf16(enc, p, n, 1, out);
    Append(out, p + used, n - used);  // the URL is always Latin-1
  } else if (id == "APIC") {
    const void* mimeEnd = std::memchr(p, 0, n);
    if (!mimeEnd) return d;
    const size_t typeAt = static_cast<size_t>(static_cast<const uint8_t*>(mimeEnd) - p) + 1;
    if (typeAt >= n) return d;
    Append(out, p, typeAt + 1);  // MIME type and picture type
    const size_t used = StringsToUtf16(enc, p + typeAt + 1, n - typeAt - 1, 1, out);
    Append(out, p + typeAt + 1 + used, n - typeAt - 1 - used);
  } else {
    return d;
  }
  return out;
}

// 2.4 dates (TDRC, TDOR) start with the year, which is all 2.3 keeps of them.
bool YearFrame(const Bytes& d, Bytes& out) {
  if (d.empty()) return false;
  size_t next;
  const uint8_t enc = d[0];
  const size_t len = StringLength(enc, d.data() + 1, d.size() - 1, next);
  std::u16string s = DecodeString(enc, d.data() + 1, len);
  if (!s.empty() && s.front() == 0xFEFF) s.erase(0, 1);
  if (s.size() < 4) return false;
  out = {kLatin1};
  for (size_t i = 0; i < 4; ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    out.push_back(static_cast<uint8_t>(s[i]));
  }
  return true;
}

// PIC names the image format in three letters where APIC has a MIME type.
bool PictureFrom22(const Bytes& d, Bytes& out) {
  if (d.size() < 5) return false;
  std::string format(reinterpret_cast<const char*>(d.data()) + 1, 3);
  for (char& c : format) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const std::string mime = format == "jpg" ? "image/jpeg" : format == "-->" ? "-->" : "image/" + format;
  out = {d[0]};
  out.insert(out.end(), mime.begin(), mime.end());
  out.push_back(0);
  out.insert(out.end(), d.begin() + 4, d.end());
  return true;
}

bool ConvertFrom24(const Id3v2Frame& in, Frame23& out) {
  const uint8_t status = static_cast<uint8_t>(in.flags >> 8);
  if (status & 0x40) return false;  // tag alter preservation: drop on any change
  uint8_t format = 0;
  Bytes prefix;
  if (in.compressed) {
    if (!in.hasDataLength) return false;
    format |= 0x80;
    PutBe32(prefix, in.dataLength);
  }
  if (in.encrypted) {
    format |= 0x40;
    prefix.push_back(static_cast<uint8_t>(in.encryptionMethod));
  }
  if (in.groupId >= 0) {
    format |= 0x20;
    prefix.push_back(static_cast<uint8_t>(in.groupId));
  }
  out.id = in.id;
  out.flags = static_cast<uint16_t>((((status & 0x20) ? 0x40 : 0) | ((status & 0x10) ? 0x20 : 0)) << 8 | format);
  out.body = prefix;
  if (!in.Readable()) {
    Append(out.body, in.data.data(), in.data.size());
    return true;
  }
  Bytes data = ReencodeFor23(in.id, in.data);
  if (in.id == "TDRC" || in.id == "TDOR") {
    if (!YearFrame(in.data, data)) return false;
    out.id = in.id == "TDRC" ? "TYER" : "TORY";
  }
  Append(out.body, data.data(), data.size());
  return true;
}

}  // namespace

std::string FrameIdIn23(uint8_t major, const std::string& id) {
  if (major != 2) return id;
  for (const IdPair& p : kIds22)
    if (id == p.v22) return p.v23;
  return {};
}

bool ConvertFrameTo23(uint8_t major, const Id3v2Frame& in, Frame23& out) {
  if (major == 3) {
    if (in.flags & 0x8000) return false;  // tag alter preservation
    out = Frame23{in.id, in.flags, in.stored};
    return true;
  }
  if (major == 4) return ConvertFrom24(in, out);
  out.id = FrameIdIn23(2, in.id);
  if (out.id.empty()) return false;
  out.flags = 0;
  if (out.id == "APIC") return PictureFrom22(in.data, out.body);
  out.body = in.data;
  return true;
}

}  // namespace tagprobe
