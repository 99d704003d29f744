#pragma once
// Copies the readable part of the P2P server's file into the window's
// temporary file, restoring the transformed head on the way.
#include <string>

#include "p2pwire/P2PRecords.h"

namespace clipview {

struct CopySettings {
  std::string userTemp;  // ends in a backslash
  std::string logPath;
  unsigned destRetryPauseMs = 500;
};

// From the record's sign, usable percent and total size and the server's
// file at `sourcePath`. `tempPath` gets the temporary file's path (also on
// failure, when it could be built). True when the copy is up to date.
bool P2PCopyData(const p2pwire::P2PStatusRecord& record, const std::string& sourcePath,
                 const CopySettings& settings, std::string& tempPath);

}  // namespace clipview
