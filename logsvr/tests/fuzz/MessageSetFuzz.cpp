// The message-set file lies in the system folder where any program may have
// written it: the table it gives is bounded, its names fit, and the quota
// decisions on it neither overflow nor let an unknown event through.
#include <map>
#include <string>

#include "FuzzCheck.h"
#include "LogEvent.h"
#include "LogQuota.h"
#include "MessageSet.h"
#include "shared/GbkText.h"
#include "shared/ProfileText.h"

namespace {

class MapStore : public logsvr::CounterStore {
 public:
  bool Read(const std::string& name, uint32_t& v) override {
    const auto it = values.find(name);
    if (it == values.end()) return false;
    v = it->second;
    return true;
  }
  bool Write(const std::string& name, uint32_t v) override {
    values[name] = v;
    return true;
  }
  std::map<std::string, uint32_t> values;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint32_t now = in.ConsumeIntegral<uint32_t>();
  const uint32_t earlier = in.ConsumeIntegral<uint32_t>();
  const std::string act = in.ConsumeRandomLengthString(32);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const logsvr::MessageTable table = logsvr::LoadMessageTable([&text](const std::string& key) {
    std::string v;
    return zl::FindIniValue(text, "LogMsg", key.c_str(), v) ? v : std::string();
  });
  FUZZ_CHECK(table.size() <= 10000);
  for (const auto& entry : table) {
    FUZZ_CHECK(entry.first.size() <= 127);
    FUZZ_CHECK(zl::GbkCutLength(entry.first.data(), entry.first.size(), 127) == entry.first.size());
  }

  MapStore counters;
  const bool first = logsvr::AllowSend(act, table, earlier, counters);
  const bool second = logsvr::AllowSend(act, table, now, counters);
  if (!logsvr::IsUninstallAct(act) && table.find(act) == table.end()) FUZZ_CHECK(!first && !second);
  if (table.count(act) && table.at(act).dailyTimes == 0 && !logsvr::IsUninstallAct(act)) FUZZ_CHECK(!first && !second);
  return 0;
}
