#include "ZipArchive.h"

#include <cstring>
#include <memory>

#include "minizip/unzip.h"

namespace zl {

namespace {

// Bit 11 of an entry's flags: its name is UTF-8 (today's zip tools set it).
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

enum class EntryRead { Ok, TooLarge, Corrupt };

// Reads the current entry, opened already, under the budget; minizip
// decrypts and inflates, and its close checks the CRC (a wrong password
// shows there, or earlier as bad deflate data).
EntryRead ReadEntry(unzFile zip, UnpackBudget& budget, std::vector<char>& chunk, std::string& out) {
  for (;;) {
    const int n = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()));
    if (n < 0) {
      unzCloseCurrentFile(zip);
      return EntryRead::Corrupt;
    }
    if (n == 0) break;
    if (!budget.Take(out.size(), static_cast<uint64_t>(n))) {
      unzCloseCurrentFile(zip);
      return EntryRead::TooLarge;
    }
    out.append(chunk.data(), static_cast<size_t>(n));
  }
  return unzCloseCurrentFile(zip) == UNZ_OK ? EntryRead::Ok : EntryRead::Corrupt;
}

ZipContents Fail(ZipContents c, UnpackStatus status, const std::string& detail) {
  c.status = status;
  c.detail = detail;
  c.files.clear();
  c.folders.clear();
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
    const std::string raw = EntryNameInCodePage(std::string(rawName, strnlen(rawName, sizeof rawName)),
                                                (info.flag & kUtf8NameFlag) != 0, codePage);
    std::string safe;
    bool isFolder = false;
    if (info.size_filename >= sizeof rawName || !SafeEntryName(raw, safe, isFolder)) {
      out.refused.push_back(raw);
    } else if (isFolder) {
      out.folders.push_back(safe);
    } else {
      if (info.uncompressed_size > limits.maxEntryBytes)
        return Fail(out, UnpackStatus::TooLarge, "entry too large: " + safe);
      const bool isProtected = (info.flag & 1) != 0;
      if (isProtected && password.empty())
        return Fail(out, UnpackStatus::Corrupt, "protected entry without password: " + safe);
      // NOTE: minizip decrypts whenever it is given a password, so only
      // protected entries get one.
      const int open =
          isProtected ? unzOpenCurrentFilePassword(zip.get(), password.c_str()) : unzOpenCurrentFile(zip.get());
      if (open != UNZ_OK) return Fail(out, UnpackStatus::Corrupt, "cannot open entry: " + safe);
      ZipFile f;
      f.name = safe;
      switch (ReadEntry(zip.get(), budget, chunk, f.bytes)) {
        case EntryRead::TooLarge: return Fail(out, UnpackStatus::TooLarge, "past the byte limit at " + safe);
        case EntryRead::Corrupt:
          return Fail(out, UnpackStatus::Corrupt,
                      (isProtected ? "wrong password or bad data: " : "bad data or CRC: ") + safe);
        case EntryRead::Ok: break;
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
