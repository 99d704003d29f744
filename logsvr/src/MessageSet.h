#pragma once
// The service's message table, loaded from the message-set file (section
// "LogMsg" of an INI file in the system folder). Platform-neutral: the
// caller reads the file.
#include <functional>
#include <string>

#include "LogQuota.h"

namespace logsvr {

// The text of a key of section "LogMsg"; "" when it is missing.
using MessageSetValue = std::function<std::string(const std::string& key)>;

// Never more entries than this, whatever MsgNum says.
constexpr int kMaxMessageKinds = 10000;

// MsgNum entries: MsgName<i> (cut to 127 bytes) with MsgInterval<i> in
// minutes (default 86400) and MsgDailyTimes<i> (default 1), all numbers read
// as the profile functions read them. A name given twice keeps its last rule.
MessageTable LoadMessageTable(const MessageSetValue& value);

// "<system folder>\<msgset>.img"; "" without a message-set name.
std::string MessageSetPath(const std::string& systemFolder, const std::string& msgSet);

}  // namespace logsvr
