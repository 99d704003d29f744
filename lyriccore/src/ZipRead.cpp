#include "ZipRead.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "minizip/unzip.h"
#include "zlib.h"

namespace zl {

namespace {

constexpr unsigned long kUtf8NameFlag = 1ul << 11;

// The archive bytes as minizip's file: the library has no memory reader
// of its own.
struct MemoryFile {
  const char* data;
  ZPOS64_T size;
  ZPOS64_T pos;
};

voidpf ZCALLBACK MemOpen(voidpf opaque, const void*, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  MemoryFile* f = static_cast<MemoryFile*>(opaque);
  f->pos = 0;
  return f;
}

uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size) {
  MemoryFile* f = static_cast<MemoryFile*>(stream);
  const ZPOS64_T left = f->size - f->pos;
  const uLong n = static_cast<uLong>(size < left ? size : left);
  if (n) std::memcpy(buf, f->data + f->pos, n);
  f->pos += n;
  return n;
}

uLong ZCALLBACK MemWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK MemTell(voidpf, voidpf stream) { return static_cast<MemoryFile*>(stream)->pos; }

long ZCALLBACK MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  MemoryFile* f = static_cast<MemoryFile*>(stream);
  ZPOS64_T base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = f->pos; break;
    case ZLIB_FILEFUNC_SEEK_END: base = f->size; break;
    default: return -1;
  }
  if (offset > f->size || base > f->size - offset) return -1;
  f->pos = base + offset;
  return 0;
}

int ZCALLBACK MemClose(voidpf, voidpf) { return 0; }
int ZCALLBACK MemError(voidpf, voidpf) { return 0; }

struct UnzCloser {
  void operator()(void* z) const { unzClose(z); }
};
using UnzHandle = std::unique_ptr<void, UnzCloser>;

// The traditional PKWARE cipher. This minizip is built without its own
// decryption, so protected entries are read raw and decrypted here.
class ZipCipher {
 public:
  explicit ZipCipher(const std::string& password) : table_(get_crc_table()) {
    for (char c : password) Update(static_cast<unsigned char>(c));
  }
  unsigned char Decrypt(unsigned char c) {
    const uint32_t t = (keys_[2] & 0xFFFFu) | 2u;
    const unsigned char plain = static_cast<unsigned char>(c ^ static_cast<unsigned char>((t * (t ^ 1u)) >> 8));
    Update(plain);
    return plain;
  }

 private:
  uint32_t Crc(uint32_t crc, unsigned char b) const {
    return static_cast<uint32_t>(table_[(crc ^ b) & 0xFFu]) ^ (crc >> 8);
  }
  void Update(unsigned char c) {
    keys_[0] = Crc(keys_[0], c);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFFu)) * 134775813u + 1u;
    keys_[2] = Crc(keys_[2], static_cast<unsigned char>(keys_[1] >> 24));
  }
  const z_crc_t* table_;
  uint32_t keys_[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

// Appends inflated or stored bytes under the budget.
bool AppendBounded(std::string& out, const char* data, size_t n, UnpackBudget& budget) {
  if (!budget.Take(out.size(), n)) return false;
  out.append(data, n);
  return true;
}

enum class EntryRead { Ok, TooLarge, Corrupt };

// Reads the current entry (already opened raw) and decrypts, inflates and
// checks it.
EntryRead ReadProtectedEntry(unzFile zip, const unz_file_info64& info, int method, const std::string& password,
                             UnpackBudget& budget, std::string& plain) {
  std::string raw;
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    const int n = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()));
    if (n < 0) return EntryRead::Corrupt;
    if (n == 0) break;
    // Stored data never shrinks; anything far past the byte limit is refused unread.
    if (raw.size() + static_cast<size_t>(n) > budget.Limits().maxEntryBytes + 12) return EntryRead::TooLarge;
    raw.append(chunk.data(), static_cast<size_t>(n));
  }
  if (raw.size() < 12) return EntryRead::Corrupt;
  ZipCipher cipher(password);
  for (char& c : raw) c = static_cast<char>(cipher.Decrypt(static_cast<unsigned char>(c)));
  // The header's last byte repeats the CRC's high byte (or, for entries
  // written with a data descriptor, the time's): a wrong password shows here.
  const unsigned char check = static_cast<unsigned char>(raw[11]);
  const unsigned char expected = (info.flag & 8) ? static_cast<unsigned char>(info.dosDate >> 8)
                                                 : static_cast<unsigned char>(info.crc >> 24);
  if (check != expected) return EntryRead::Corrupt;
  const char* data = raw.data() + 12;
  const size_t size = raw.size() - 12;
  if (method == 0) {
    if (!AppendBounded(plain, data, size, budget)) return EntryRead::TooLarge;
  } else if (method == Z_DEFLATED) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return EntryRead::Corrupt;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = static_cast<uInt>(size);
    int rc = Z_OK;
    EntryRead result = EntryRead::Ok;
    while (rc == Z_OK) {
      z.next_out = reinterpret_cast<Bytef*>(chunk.data());
      z.avail_out = static_cast<uInt>(chunk.size());
      rc = inflate(&z, Z_NO_FLUSH);
      const size_t got = chunk.size() - z.avail_out;
      if (got && !AppendBounded(plain, chunk.data(), got, budget)) {
        result = EntryRead::TooLarge;
        break;
      }
      if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
    }
    inflateEnd(&z);
    if (result != EntryRead::Ok) return result;
    if (rc != Z_STREAM_END) return EntryRead::Corrupt;
  } else {
    return EntryRead::Corrupt;
  }
  const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(plain.data()), static_cast<uInt>(plain.size()));
  return crc == info.crc ? EntryRead::Ok : EntryRead::Corrupt;
}

ZipContents Fail(ZipContents c, UnpackStatus status, const std::string& detail) {
  c.status = status;
  c.detail = detail;
  c.folders.clear();
  c.files.clear();
  return c;
}

}  // namespace

std::string EntryNameInCodePage(const std::string& raw, bool utf8Flag, const CodePageConverter& codePage) {
  if (!utf8Flag) return raw;
  return Utf8ToCodePage(raw, codePage);
}

ZipContents ReadZipFromMemory(const char* data, size_t length, const std::string& password,
                              const UnpackLimits& limits, const CodePageConverter& codePage) {
  ZipContents out;
  if (!data || length == 0) return Fail(out, UnpackStatus::NotAnArchive, "empty body");
  MemoryFile file{data, static_cast<ZPOS64_T>(length), 0};
  zlib_filefunc64_def io{};
  io.zopen64_file = MemOpen;
  io.zread_file = MemRead;
  io.zwrite_file = MemWrite;
  io.ztell64_file = MemTell;
  io.zseek64_file = MemSeek;
  io.zclose_file = MemClose;
  io.zerror_file = MemError;
  io.opaque = &file;
  UnzHandle zip(unzOpen2_64(&file, &io));
  if (!zip) return Fail(out, UnpackStatus::NotAnArchive, "no zip directory");

  unz_global_info64 global{};
  if (unzGetGlobalInfo64(zip.get(), &global) != UNZ_OK) return Fail(out, UnpackStatus::Corrupt, "no global info");
  if (global.number_entry > limits.maxEntries) return Fail(out, UnpackStatus::TooLarge, "too many entries");

  UnpackBudget budget(limits);
  std::vector<char> chunk(64 * 1024);
  int rc = unzGoToFirstFile(zip.get());
  while (rc == UNZ_OK) {
    if (!budget.AddEntry()) return Fail(out, UnpackStatus::TooLarge, "too many entries");
    unz_file_info64 info{};
    char rawName[1024];
    if (unzGetCurrentFileInfo64(zip.get(), &info, rawName, sizeof rawName, nullptr, 0, nullptr, 0) != UNZ_OK)
      return Fail(out, UnpackStatus::Corrupt, "bad entry header");
    // Names become file names and the lyric's artist and title: in the code page.
    const std::string name =
        EntryNameInCodePage(std::string(rawName, strnlen(rawName, sizeof rawName)), (info.flag & kUtf8NameFlag) != 0,
                            codePage);
    std::string safe;
    bool isFolder = false;
    if (info.size_filename >= sizeof rawName || !SafeEntryName(name, safe, isFolder)) {
      out.refused.push_back(name);
    } else if (isFolder) {
      out.folders.push_back(safe);
    } else {
      if (info.uncompressed_size > limits.maxEntryBytes) return Fail(out, UnpackStatus::TooLarge, "entry too large: " + safe);
      ZipFileEntry f;
      f.name = safe;
      if (info.flag & 1) {
        // Encrypted: read raw and decrypt here.
        int method = 0, level = 0;
        if (password.empty()) return Fail(out, UnpackStatus::Corrupt, "protected entry without password: " + safe);
        if (unzOpenCurrentFile2(zip.get(), &method, &level, 1) != UNZ_OK)
          return Fail(out, UnpackStatus::Corrupt, "cannot open entry: " + safe);
        const EntryRead read = ReadProtectedEntry(zip.get(), info, method, password, budget, f.bytes);
        unzCloseCurrentFile(zip.get());
        if (read == EntryRead::TooLarge) return Fail(out, UnpackStatus::TooLarge, "past the byte limit at " + safe);
        if (read != EntryRead::Ok) return Fail(out, UnpackStatus::Corrupt, "wrong password or bad data: " + safe);
      } else {
        if (unzOpenCurrentFile(zip.get()) != UNZ_OK) return Fail(out, UnpackStatus::Corrupt, "cannot open entry: " + safe);
        for (;;) {
          const int n = unzReadCurrentFile(zip.get(), chunk.data(), static_cast<unsigned>(chunk.size()));
          if (n < 0) {
            unzCloseCurrentFile(zip.get());
            return Fail(out, UnpackStatus::Corrupt, "cannot read entry: " + safe);
          }
          if (n == 0) break;
          if (!AppendBounded(f.bytes, chunk.data(), static_cast<size_t>(n), budget)) {
            unzCloseCurrentFile(zip.get());
            return Fail(out, UnpackStatus::TooLarge, "past the byte limit at " + safe);
          }
        }
        if (unzCloseCurrentFile(zip.get()) != UNZ_OK) return Fail(out, UnpackStatus::Corrupt, "CRC error: " + safe);
      }
      out.files.push_back(std::move(f));
    }
    rc = unzGoToNextFile(zip.get());
  }
  if (rc != UNZ_END_OF_LIST_OF_FILE) return Fail(out, UnpackStatus::Corrupt, "bad central directory");
  out.status = UnpackStatus::Ok;
  return out;
}

}  // namespace zl
