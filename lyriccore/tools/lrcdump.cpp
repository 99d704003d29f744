// lrcdump: shows how the engine reads a lyric file.
//   lrcdump [--length MS] FILE      the file's encoding, the tags, then
//                                   START<TAB>END<TAB>TEXT per sentence (in the
//                                   code page), and <TAB>+MS@BYTE... for its word times
//   lrcdump --format-time MS        the engine's LRC time text for MS
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lyriccore/LrcText.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int Usage() {
  std::fputs("usage: lrcdump [--length MS] FILE\n       lrcdump --format-time MS\n", stderr);
  return 2;
}

bool ParseInt32(const char* s, int32_t& out) {
  if (!s || !*s) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(s, &end, 10);
  if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<int32_t>(v);
  return true;
}

// One sentence per output line, so line breaks and tabs inside a text are escaped.
std::string Escape(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    switch (*p) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += *p;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Lyric bytes go out unchanged, without CR inserted before LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  int32_t lengthMs = 0;
  const char* file = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--format-time") == 0) {
      int32_t ms = 0;
      if (i + 2 != argc || !ParseInt32(argv[i + 1], ms)) return Usage();
      std::printf("%s\n", FormatLrcTime(ms).c_str());
      return 0;
    }
    if (std::strcmp(argv[i], "--length") == 0) {
      if (i + 1 >= argc || !ParseInt32(argv[++i], lengthMs)) return Usage();
    } else if (!file) {
      file = argv[i];
    } else {
      return Usage();
    }
  }
  if (!file) return Usage();

  LrcTags tags;
  std::vector<TimeSentence> list;
  std::vector<LineWords> words;
  zl::TextEncoding encoding = zl::TextEncoding::CodePage;
  if (!ReadLyricFile(file, tags, list, words, lengthMs, &encoding)) {
    std::fprintf(stderr, "lrcdump: cannot read %s: %s\n", file, std::strerror(errno));
    return 2;
  }
  std::printf("encoding\t%s\n", zl::TextEncodingName(encoding));
  std::printf("ti\t%s\nar\t%s\nal\t%s\nby\t%s\n", Escape(tags.ti).c_str(), Escape(tags.ar).c_str(),
              Escape(tags.al).c_str(), Escape(tags.by).c_str());
  for (size_t i = 0; i < list.size(); ++i) {
    const TimeSentence& s = list[i];
    std::printf("%d\t%d\t%s", static_cast<int>(s.startTime), static_cast<int>(s.endTime), Escape(s.text).c_str());
    if (i < words.size() && !words[i].empty()) {
      std::printf("\t");
      for (size_t k = 0; k < words[i].size(); ++k)
        std::printf("%s+%d@%u", k ? " " : "", static_cast<int>(words[i][k].atMs),
                    static_cast<unsigned>(words[i][k].byte));
    }
    std::printf("\n");
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
