#pragma once
// The hand-over file as the recognition engine sees it: a 32-bit record
// count (little-endian) and that many 2720-byte records. The engine puts
// the song path at byte 2288 of each record; the recognition engine fills
// the metadata texts (520, 648, 776; 128 bytes each), the fingerprint
// (256 words at 1256), the audio signature (2280, 2284) and the two
// metadata numbers (2552, 2556). Platform-neutral.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AudioPrint.h"

namespace fpmatch {

constexpr size_t kRecordBytes = 2720;
constexpr size_t kSongPathAt = 2288;
constexpr size_t kSongPathBytes = 260;
constexpr size_t kPrintAt = 1256;
constexpr size_t kSignatureAt = 2280;
constexpr size_t kMetaTextAt[3] = {520, 648, 776};
constexpr size_t kMetaTextBytes = 128;
constexpr size_t kMetaNumberAt[2] = {2552, 2556};

// The records of a hand-over file; false when the count does not match the
// bytes (a count of 0 or more than 1024 records is refused).
bool ReadHandOver(const std::string& fileBytes, std::vector<std::string>& records);
std::string WriteHandOver(const std::vector<std::string>& records);

std::string SongPathOf(const std::string& record);

// Writes the print into the record: the fingerprint, the signature, the
// numbers (audio bytes, audio start) and the texts (format, this program,
// the song file's name).
void FillRecord(std::string& record, const SongPrint& print, const std::string& songFileName);

uint32_t ReadLe32(const std::string& bytes, size_t at);
void PutLe32(std::string& bytes, size_t at, uint32_t value);

}  // namespace fpmatch
