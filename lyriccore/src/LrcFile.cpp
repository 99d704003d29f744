#include <cstdio>
#include <memory>

#include "lyriccore/LrcText.h"

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) text.append(chunk, got);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  FilePtr f(std::fopen(path.c_str(), "wb"));
  if (!f) return false;
  const size_t written = text.empty() ? 0 : std::fwrite(text.data(), 1, text.size(), f.get());
  // A full disk often shows only when the buffer is flushed on close.
  const bool closed = std::fclose(f.release()) == 0;
  return closed && written > 0 && written == text.size();
}

bool ReadLyricFile(const std::string& path, LrcTags& tags, std::vector<TimeSentence>& list,
                   std::vector<LineWords>& words, int32_t songLengthMs, zl::TextEncoding* encoding) {
  std::string bytes;
  const bool read = ReadWholeFile(path, bytes);
  ParseLyricBytes(bytes, zl::SystemCodePage(), tags, list, words, songLengthMs, encoding);
  return read;
}
