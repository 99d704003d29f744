#include "HandOver.h"

#include <cstring>

namespace fpmatch {

namespace {
constexpr uint32_t kMostRecords = 1024;

void PutText(std::string& record, size_t at, size_t bytes, const std::string& text) {
  std::string field = text.substr(0, bytes - 1);
  field.resize(bytes, '\0');
  record.replace(at, bytes, field);
}
}  // namespace

uint32_t ReadLe32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

void PutLe32(std::string& bytes, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool ReadHandOver(const std::string& fileBytes, std::vector<std::string>& records) {
  records.clear();
  if (fileBytes.size() < 4) return false;
  const uint32_t count = ReadLe32(fileBytes, 0);
  if (count == 0 || count > kMostRecords || fileBytes.size() < 4 + count * kRecordBytes) return false;
  for (uint32_t i = 0; i < count; ++i) records.push_back(fileBytes.substr(4 + i * kRecordBytes, kRecordBytes));
  return true;
}

std::string WriteHandOver(const std::vector<std::string>& records) {
  std::string out(4, '\0');
  PutLe32(out, 0, static_cast<uint32_t>(records.size()));
  for (const std::string& r : records) out += r;
  return out;
}

std::string SongPathOf(const std::string& record) {
  const std::string field = record.substr(kSongPathAt, kSongPathBytes);
  return field.substr(0, field.find('\0'));
}

void FillRecord(std::string& record, const SongPrint& print, const std::string& songFileName) {
  for (size_t i = 0; i < kPrintWords; ++i) PutLe32(record, kPrintAt + 4 * i, print.words[i]);
  PutLe32(record, kSignatureAt, print.signature[0]);
  PutLe32(record, kSignatureAt + 4, print.signature[1]);
  PutLe32(record, kMetaNumberAt[0], static_cast<uint32_t>(print.audioBytes));
  PutLe32(record, kMetaNumberAt[1], static_cast<uint32_t>(print.audioStart));
  PutText(record, kMetaTextAt[0], kMetaTextBytes, print.format);
  PutText(record, kMetaTextAt[1], kMetaTextBytes, "fpmatch stand-in 1");
  PutText(record, kMetaTextAt[2], kMetaTextBytes, songFileName);
}

}  // namespace fpmatch
