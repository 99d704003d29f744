#pragma once
// Whether a usage event may be sent now: a minimum interval and a daily quota
// per event, kept as three counters per event name. Platform-neutral; the
// counters live in the registry in the product.
#include <cstdint>
#include <map>
#include <string>

namespace logsvr {

struct MessageRule {
  uint32_t intervalMinutes = 86400;
  uint32_t dailyTimes = 1;
};
using MessageTable = std::map<std::string, MessageRule>;

// N_LAST_TIME, N_LAST_DATE, N_TIMES for an event N.
class CounterStore {
 public:
  virtual ~CounterStore() = default;
  virtual bool Read(const std::string& valueName, uint32_t& value) = 0;  // false: absent
  virtual bool Write(const std::string& valueName, uint32_t value) = 0;
};

// now: seconds since 1970 (UTC), low 32 bits.
bool AllowSend(const std::string& act, const MessageTable& table, uint32_t now, CounterStore& counters);

}  // namespace logsvr
