#pragma once
// The MV window's temporary files live in "<user temp>ZLrc".
#include <string>

#include "shared/SignPair.h"

namespace clipview {

// GetTempPathA (ends in a backslash); "" when there is none.
std::string UserTempFolder();
// At start-up: deletes every file in <userTemp>ZLrc and removes the folder.
void CleanTempFolder(const std::string& userTemp);
// The temporary path of a resource, its folder made with all missing
// levels; "" (and a log line) when that fails or the path does not fit.
std::string MakeTempPath(const std::string& userTemp, SignPair sign, const std::string& extension,
                         const std::string& logPath);

}  // namespace clipview
