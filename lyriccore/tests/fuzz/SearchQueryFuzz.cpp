// The query the engine sends: names from tags, servers and the user go into
// it. Escaped values carry no separator of the argument string, escaping
// twice changes nothing, and the scramble undoes to the argument string.
#include <string>

#include "FuzzCheck.h"
#include "SearchProtocol.h"

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

void CheckEscaped(const std::string& e) {
  for (size_t i = 0; i < e.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(e[i]);
    if (c == '%') {
      FUZZ_CHECK(i + 2 < e.size() + 0 && IsHex(e[i + 1]) && IsHex(e[i + 2]));
      continue;
    }
    FUZZ_CHECK((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::strchr("!'()*-._~", c) != nullptr);
  }
}

// Standard Base64 back to bytes, written apart from the encoder it checks.
std::string Unbase64(const std::string& in) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  unsigned bits = 0;
  int have = 0;
  for (char c : in) {
    if (c == '=') break;
    const int v = value(c);
    FUZZ_CHECK(v >= 0);
    bits = (bits << 6) | static_cast<unsigned>(v);
    have += 6;
    if (have >= 8) {
      have -= 8;
      out += static_cast<char>((bits >> have) & 0xFF);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  zl::SearchQuery q;
  q.searchType = in.ConsumeIntegralInRange<int32_t>(-1, 3);
  q.wanted = static_cast<ResultType>(in.ConsumeIntegralInRange<int32_t>(0, 4));
  q.onDisk = static_cast<Pre_Set_State>(in.ConsumeIntegralInRange<int32_t>(0, 2));
  q.sig1 = in.ConsumeIntegral<uint32_t>();
  q.sig2 = in.ConsumeIntegral<uint32_t>();
  for (std::string* field : {&q.user, &q.version, &q.secondValue, &q.host, &q.title, &q.artist, &q.resPath,
                             &q.zipSig, &q.recoSn, &q.recoArtist, &q.fileName})
    *field = in.ConsumeRandomLengthString(300);

  for (const std::string* field : {&q.title, &q.artist, &q.resPath}) {
    const std::string once = zl::EscapeQueryValue(*field);
    CheckEscaped(once);
    FUZZ_CHECK(zl::EscapeQueryValue(once) == once);
  }

  const std::string args = zl::BuildSearchArguments(q);
  if (q.searchType < 0 || q.searchType > 2) {
    FUZZ_CHECK(args.empty());
    return 0;
  }
  // user=, then eleven more keys: no value may add or hide one.
  size_t amps = 0;
  for (char c : args) amps += c == '&';
  FUZZ_CHECK(amps == 11);
  FUZZ_CHECK(args.compare(0, 5, "user=") == 0);

  const std::string scrambled = zl::ScrambleArguments(args);
  FUZZ_CHECK(scrambled.size() % 4 == 0);
  std::string mixed = Unbase64(scrambled);
  static const char kKey[] = "plomber";
  for (size_t i = 0; i < mixed.size(); ++i) mixed[i] = static_cast<char>(mixed[i] ^ kKey[i % 7]);
  FUZZ_CHECK(mixed == args);
  return 0;
}
