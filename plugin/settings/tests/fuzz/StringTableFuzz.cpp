// The string tables lie in the install folder where users and translators
// edit them: any text gives a table whose every key and text read back, and
// no key or text holds a line break.
#include <string>

#include "FuzzCheck.h"
#include "settings/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string key = in.ConsumeRandomLengthString(32);
  const std::string text = in.ConsumeRemainingBytesAsString();
  StringTable table;
  table.Parse(text);
  FUZZ_CHECK(table.Size() <= text.size());
  const std::string value = table.Get(key.c_str());
  FUZZ_CHECK(value.find('\n') == std::string::npos && value.size() <= text.size());
  // A key=value line added at the end replaces the text (for what a line
  // can hold: a key without '=', line breaks or NUL, a value not ending in CR).
  const bool writable = !key.empty() && key[0] != '=' && key.find_first_of(std::string("=\n\0", 3)) == std::string::npos &&
                        key.back() != '\r' && (value.empty() || value.back() != '\r');
  if (writable) {
    StringTable again;
    again.Parse(text + "\n" + key + "=" + value + "\n");
    FUZZ_CHECK(again.Get(key.c_str()) == value);
  }
  return 0;
}
