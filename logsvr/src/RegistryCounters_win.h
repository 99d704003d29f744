#pragma once
// The send counters of each event as REG_DWORD values under
// HKEY_LOCAL_MACHINE\SOFTWARE\ZOLYRIC\LOGMSG.
#include "LogQuota.h"

namespace logsvr {

class RegistryCounters : public CounterStore {
 public:
  bool Read(const std::string& valueName, uint32_t& value) override;
  bool Write(const std::string& valueName, uint32_t value) override;
};

}  // namespace logsvr
