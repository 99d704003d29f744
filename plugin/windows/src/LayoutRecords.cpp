#include "lyricwindows/LayoutRecords.h"

#include <algorithm>
#include <cstring>

#include "shared/GbkText.h"
#include "shared/ProfileText.h"

namespace {

void PutU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
uint32_t GetU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
int32_t GetI32(const unsigned char* p) { return static_cast<int32_t>(GetU32(p)); }

void PutText(unsigned char* p, const char (&field)[32]) {
  std::memset(p, 0, 32);
  std::memcpy(p, field, strnlen(field, sizeof field));
}
// A field filled to the last byte has no terminator: it is cut to fit one.
void GetText(char (&field)[32], const unsigned char* p) {
  zl::CopyGbkBounded(field, sizeof field, reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), 32));
}

bool ReadInt(const LayoutKeys& keys, const char* key, int& value) {
  std::string text;
  if (!keys.Read(key, text)) return false;
  value = zl::ParseProfileInt(text, value, 10);
  return true;
}
void ReadColor(const LayoutKeys& keys, const char* key, uint32_t& value) {
  int v = static_cast<int>(value);
  if (ReadInt(keys, key, v)) value = static_cast<uint32_t>(v) & 0x00FFFFFFu;
}
bool ReadPair(const LayoutKeys& keys, const char* key, int32_t& first, int32_t& second) {
  std::string text;
  unsigned char bytes[zl::kWordPairBytes];
  if (!keys.Read(key, text) || zl::ReadHexRecord(text, bytes, sizeof bytes, 0) < sizeof bytes) return false;
  zl::DecodeWordPair(bytes, first, second);
  return true;
}

// Whole records only; a count larger than its bound stops the load.
template <typename Record, size_t Bytes, typename Decode>
bool ReadRecords(const LayoutKeys& keys, const char* countKey, const char* dataKey, int bound,
                 std::vector<Record>& out, Decode decode) {
  int count = static_cast<int>(out.size());
  if (!ReadInt(keys, countKey, count)) return true;
  if (count < 0 || count > bound) return false;
  std::string text;
  std::vector<Record> records;
  if (keys.Read(dataKey, text)) {
    std::vector<unsigned char> bytes(static_cast<size_t>(count) * Bytes);
    const size_t got = zl::ReadHexRecord(text, bytes.data(), bytes.size(), 0);
    for (size_t i = 0; i + Bytes <= got; i += Bytes) records.push_back(decode(&bytes[i]));
  }
  out = std::move(records);
  return true;
}

template <typename Record, size_t Bytes, typename Encode>
std::string RecordsText(const std::vector<Record>& records, Encode encode) {
  std::vector<unsigned char> bytes(records.size() * Bytes);
  for (size_t i = 0; i < records.size(); ++i) encode(records[i], &bytes[i * Bytes]);
  return zl::EncodeHexRecord(bytes.data(), bytes.size());
}

std::string PairText(int32_t first, int32_t second) {
  unsigned char bytes[zl::kWordPairBytes];
  zl::EncodeWordPair(first, second, bytes);
  return zl::EncodeHexRecord(bytes, sizeof bytes);
}

void BoundSizes(WindowLayout& l) {
  l.minWidth = std::clamp(l.minWidth, 1, kMaxWindowExtent);
  l.minHeight = std::clamp(l.minHeight, 1, kMaxWindowExtent);
  l.width = std::clamp(l.width, l.minWidth, kMaxWindowExtent);
  l.height = std::clamp(l.height, l.minHeight, kMaxWindowExtent);
}

}  // namespace

void SetRecordText(char (&field)[32], const char* text) {
  std::memset(field, 0, sizeof field);
  zl::CopyGbkBounded(field, sizeof field, text ? text : "");
}

void EncodeFrameBitmap(const FrameBitmapRecord& r, unsigned char out[kFrameBitmapRecordBytes]) {
  PutText(out, r.name);
  PutU32(out + 32, static_cast<uint32_t>(r.left));
  PutU32(out + 36, static_cast<uint32_t>(r.top));
  PutU32(out + 40, static_cast<uint32_t>(r.right));
  PutU32(out + 44, static_cast<uint32_t>(r.bottom));
  PutU32(out + 48, r.flag);
}

FrameBitmapRecord DecodeFrameBitmap(const unsigned char in[kFrameBitmapRecordBytes]) {
  FrameBitmapRecord r{};
  GetText(r.name, in);
  r.left = GetI32(in + 32);
  r.top = GetI32(in + 36);
  r.right = GetI32(in + 40);
  r.bottom = GetI32(in + 44);
  r.flag = GetU32(in + 48);
  return r;
}

void EncodeControl(const ControlRecord& r, unsigned char out[kControlRecordBytes]) {
  PutText(out, r.text);
  PutText(out + 32, r.tip);
  PutU32(out + 64, r.id);
  PutU32(out + 68, static_cast<uint32_t>(r.left));
  PutU32(out + 72, static_cast<uint32_t>(r.top));
  PutU32(out + 76, static_cast<uint32_t>(r.right));
  PutU32(out + 80, static_cast<uint32_t>(r.bottom));
  for (int i = 0; i < 3; ++i) PutU32(out + 84 + 4 * i, r.extra[i]);
}

ControlRecord DecodeControl(const unsigned char in[kControlRecordBytes]) {
  ControlRecord r{};
  GetText(r.text, in);
  GetText(r.tip, in + 32);
  r.id = GetU32(in + 64);
  r.left = GetI32(in + 68);
  r.top = GetI32(in + 72);
  r.right = GetI32(in + 76);
  r.bottom = GetI32(in + 80);
  for (int i = 0; i < 3; ++i) r.extra[i] = GetU32(in + 84 + 4 * i);
  return r;
}

LayoutLoad LoadWindowLayout(const LayoutKeys& keys, WindowLayout& l) {
  std::string text;
  if (keys.Read("Face Path", text)) {
    unsigned char bytes[kFacePathBytes] = {};
    const size_t got = zl::ReadHexRecord(text, bytes, sizeof bytes, 0);
    if (got > 0) {
      const char* path = reinterpret_cast<const char*>(bytes);
      zl::CopyGbkBounded(l.facePath, sizeof l.facePath, path, strnlen(path, got));
    }
  }
  int32_t a = 0, b = 0;
  if (ReadPair(keys, "Dialog Position", a, b)) {
    l.x = a;
    l.y = b;
    l.hasPosition = true;
  }
  if (ReadPair(keys, "Dialog Size", a, b)) {
    l.width = a;
    l.height = b;
  }
  LayoutLoad result = LayoutLoad::Done;
  if (!ReadRecords<FrameBitmapRecord, kFrameBitmapRecordBytes>(keys, "MainDlg Bmp Number", "MainDlg Bmp Data",
                                                               kMaxFrameBitmaps, l.bitmaps, DecodeFrameBitmap)) {
    result = LayoutLoad::CountOutOfRange;
  } else {
    ReadInt(keys, "Left Bmp Width", l.leftBmpWidth);
    l.leftBmpWidth = std::clamp(l.leftBmpWidth, 0, kMaxWindowExtent);
    if (!ReadRecords<ControlRecord, kControlRecordBytes>(keys, "MainDlg Ctrl Number", "MainDlg Ctrl Data",
                                                         kMaxControls, l.controls, DecodeControl)) {
      result = LayoutLoad::CountOutOfRange;
    } else {
      ReadColor(keys, "MainDlg BK CLR", l.bkColor);
      ReadColor(keys, "MainDlg BORDER CLR", l.borderColor);
      ReadColor(keys, "MainDlg LIST BORDER CLR", l.listBorderColor);
      ReadInt(keys, "Min Width", l.minWidth);
      ReadInt(keys, "Min Height", l.minHeight);
      ReadColor(keys, "MiniBkColor", l.miniBkColor);
    }
  }
  BoundSizes(l);
  return result;
}

bool SaveWindowLayout(LayoutKeys& keys, const WindowLayout& l) {
  unsigned char face[kFacePathBytes] = {};
  std::memcpy(face, l.facePath, strnlen(l.facePath, sizeof l.facePath - 1));
  bool ok = true;
  ok &= keys.Write("Face Path", zl::EncodeHexRecord(face, sizeof face));
  ok &= keys.Write("Dialog Position", PairText(l.x, l.y));
  ok &= keys.Write("Dialog Size", PairText(l.width, l.height));
  ok &= keys.Write("MainDlg Bmp Number", zl::FormatProfileInt(static_cast<int>(l.bitmaps.size()), 10));
  ok &= keys.Write("MainDlg Bmp Data",
                   RecordsText<FrameBitmapRecord, kFrameBitmapRecordBytes>(l.bitmaps, EncodeFrameBitmap));
  ok &= keys.Write("Left Bmp Width", zl::FormatProfileInt(l.leftBmpWidth, 10));
  ok &= keys.Write("MainDlg Ctrl Number", zl::FormatProfileInt(static_cast<int>(l.controls.size()), 10));
  ok &= keys.Write("MainDlg Ctrl Data", RecordsText<ControlRecord, kControlRecordBytes>(l.controls, EncodeControl));
  ok &= keys.Write("MainDlg BK CLR", zl::FormatProfileInt(static_cast<int>(l.bkColor), 10));
  ok &= keys.Write("MainDlg BORDER CLR", zl::FormatProfileInt(static_cast<int>(l.borderColor), 10));
  ok &= keys.Write("MainDlg LIST BORDER CLR", zl::FormatProfileInt(static_cast<int>(l.listBorderColor), 10));
  ok &= keys.Write("Min Width", zl::FormatProfileInt(l.minWidth, 10));
  ok &= keys.Write("Min Height", zl::FormatProfileInt(l.minHeight, 10));
  keys.Write("MiniBkColor", zl::FormatProfileInt(static_cast<int>(l.miniBkColor), 10));
  return ok;
}
