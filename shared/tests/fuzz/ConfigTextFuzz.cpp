// Texts of the install: the user file, the host program's path, link
// addresses from the configuration image and command lines built from them.
#include <string>

#include "FuzzCheck.h"
#include "shared/ConfigRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string folder = in.ConsumeRandomLengthString(300);
  const std::string command = in.ConsumeRandomLengthString(300);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const std::string head = text.substr(0, zl::kUserFileHeadBytes);
  std::string line1, line2;
  if (zl::ParseUserFileLine(head, 1, line1)) FUZZ_CHECK(!line1.empty() && line1.size() <= head.size());
  else FUZZ_CHECK(line1.empty());
  if (zl::ParseUserFileLine(head, 2, line2)) FUZZ_CHECK(!line2.empty() && line2.size() <= head.size());

  (void)zl::HostPlayerNameFromPath(text);
  if (zl::IsWebAddress(text)) FUZZ_CHECK(text.size() >= 7);
  (void)zl::BrowserWindowTitle(text);
  const std::string line = zl::BuildProgramCommandLine(command.c_str(), folder.c_str());
  FUZZ_CHECK(line.size() <= command.size() + folder.size() + 3);
  return 0;
}
