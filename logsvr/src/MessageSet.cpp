#include "MessageSet.h"

#include "shared/GbkText.h"
#include "shared/ProfileText.h"

namespace logsvr {

MessageTable LoadMessageTable(const MessageSetValue& value) {
  MessageTable table;
  const int count = zl::ParseProfileInt(value("MsgNum"), 0, 10);
  for (int i = 0; i < count && i < kMaxMessageKinds; ++i) {
    const std::string index = std::to_string(i);
    std::string name = value("MsgName" + index);
    name.resize(zl::GbkCutLength(name.data(), name.size(), 127));
    MessageRule rule;
    rule.intervalMinutes = static_cast<uint32_t>(zl::ParseProfileInt(value("MsgInterval" + index), 86400, 10));
    rule.dailyTimes = static_cast<uint32_t>(zl::ParseProfileInt(value("MsgDailyTimes" + index), 1, 10));
    table[name] = rule;
  }
  return table;
}

std::string MessageSetPath(const std::string& systemFolder, const std::string& msgSet) {
  if (msgSet.empty() || systemFolder.empty()) return std::string();
  return systemFolder + "\\" + msgSet + ".img";
}

}  // namespace logsvr
