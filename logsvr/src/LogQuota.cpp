#include "LogQuota.h"

#include "LogEvent.h"

namespace logsvr {

bool AllowSend(const std::string& act, const MessageTable& table, uint32_t now, CounterStore& counters) {
  if (IsUninstallAct(act)) return true;
  const auto rule = table.find(act);
  if (rule == table.end()) return false;

  const std::string lastTimeName = act + "_LAST_TIME";
  uint32_t last = 0;
  if (!counters.Read(lastTimeName, last)) {
    counters.Write(lastTimeName, now);
  } else {
    // Computed in 64 bits: a large interval must not wrap around.
    const int64_t since = static_cast<int64_t>(now) - static_cast<int64_t>(last);
    if (since < static_cast<int64_t>(rule->second.intervalMinutes) * 60) {
      // A clock that went back would otherwise lock the event out until it
      // catches up again.
      if (now < last) counters.Write(lastTimeName, now);
      return false;
    }
    counters.Write(lastTimeName, now);
  }

  const uint32_t today = now / 86400;
  const std::string dateName = act + "_LAST_DATE";
  const std::string timesName = act + "_TIMES";
  uint32_t lastDate = 0;
  if (!counters.Read(dateName, lastDate)) lastDate = 0;
  if (lastDate != today) {
    counters.Write(dateName, today);
    counters.Write(timesName, 0);
  }
  uint32_t times = 0;
  if (!counters.Read(timesName, times)) times = 0;
  const uint64_t next = static_cast<uint64_t>(times) + 1;
  if (next > rule->second.dailyTimes) return false;
  return counters.Write(timesName, static_cast<uint32_t>(next));
}

}  // namespace logsvr
