#include "p2pwire/P2PRecords.h"

#include <cstring>

#include "shared/GbkText.h"

namespace p2pwire {

namespace {

// The path's length, or -1 when no NUL ends it inside the field.
long TerminatedLength(const char* field, size_t bytes) {
  const void* nul = std::memchr(field, '\0', bytes);
  return nul ? long(static_cast<const char*>(nul) - field) : -1;
}

}  // namespace

P2PRequestRecord MakeRequestRecord(SignPair sign, const char* replyWindow) {
  P2PRequestRecord r;
  std::memset(&r, 0, sizeof r);
  r.sign = sign;
  zl::CopyGbkBounded(r.replyWindow, sizeof r.replyWindow, replyWindow ? replyWindow : "");
  return r;
}

bool DecodeStatusRecord(const void* data, size_t size, P2PStatusRecord& out, std::string& path) {
  if (!data || size != sizeof out) return false;
  std::memcpy(&out, data, sizeof out);
  const long n = TerminatedLength(out.sourcePath, sizeof out.sourcePath);
  if (n < 0) return false;
  path.assign(out.sourcePath, size_t(n));
  return true;
}

bool DecodeLookupRecord(const void* data, size_t size, P2PLookupRecord& out, std::string& path) {
  if (!data || size != sizeof out) return false;
  std::memcpy(&out, data, sizeof out);
  const long n = TerminatedLength(out.sourcePath, sizeof out.sourcePath);
  if (n < 0) return false;
  path.assign(out.sourcePath, size_t(n));
  return true;
}

}  // namespace p2pwire
