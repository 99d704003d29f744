#include "RegistryCounters_win.h"

#include "shared/ProductRegistry.h"

namespace logsvr {

bool RegistryCounters::Read(const std::string& valueName, uint32_t& value) {
  return zl::ReadProductNumber(zl::kLogMsgSubkey, valueName.c_str(), value);
}

bool RegistryCounters::Write(const std::string& valueName, uint32_t value) {
  return zl::WriteProductNumber(zl::kLogMsgSubkey, valueName.c_str(), value);
}

}  // namespace logsvr
