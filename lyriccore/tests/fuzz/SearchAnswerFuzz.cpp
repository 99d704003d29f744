// The lyric server's answer: its header, and a list body (also the list part
// of info files). The header ends at the first blank line and nowhere else;
// every candidate field fits.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "InfoFile.h"
#include "SearchProtocol.h"
#include "shared/GbkText.h"

namespace {

template <size_t N>
void CheckField(const char (&field)[N]) {
  FUZZ_CHECK(FuzzFieldTerminated(field, N));
  const size_t len = std::strlen(field);
  FUZZ_CHECK(zl::GbkCutLength(field, len, N - 1) == len);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  zl::SearchAnswer answer;
  if (!zl::ParseSearchAnswerHeader(bytes, size, answer)) {
    FUZZ_CHECK(std::string(bytes, size).find("\r\n\r\n") == std::string::npos);
    return 0;
  }
  FUZZ_CHECK(answer.bodyOffset >= 4 && answer.bodyOffset <= size);
  FUZZ_CHECK(std::memcmp(bytes + answer.bodyOffset - 4, "\r\n\r\n", 4) == 0);
  FUZZ_CHECK(std::string(bytes, answer.bodyOffset - 1).find("\r\n\r\n") == std::string::npos);
  switch (answer.kind) {
    case zl::AnswerKind::List: FUZZ_CHECK(answer.type == "list"); break;
    case zl::AnswerKind::Content: FUZZ_CHECK(answer.type == "content"); break;
    case zl::AnswerKind::None: FUZZ_CHECK(answer.type == "none"); break;
    case zl::AnswerKind::Unknown:
      FUZZ_CHECK(answer.type != "list" && answer.type != "content" && answer.type != "none");
      break;
  }
  (void)zl::RcodeSettlesRecognition(answer.rcode);

  std::vector<SearchItem> list;
  zl::ParseSearchList(std::string(bytes + answer.bodyOffset, size - answer.bodyOffset), list);
  FUZZ_CHECK(list.size() <= size);
  for (const SearchItem& item : list) {
    CheckField(item.artist);
    CheckField(item.title);
    CheckField(item.provider);
    CheckField(item.resPath);
  }
  return 0;
}
