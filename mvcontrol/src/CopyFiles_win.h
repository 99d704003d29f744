#pragma once
// The copy's two files on disk: the P2P server's file, read while the
// server still writes it, and the control's video file, which the player
// movie may read meanwhile.
#include <string>

#include "mvcontrol/BlockCopy.h"
#include "shared/Ownership.h"

namespace mvcontrol {

class HandleCopyFiles : public CopyFiles {
 public:
  enum class OpenResult { Opened, SourceMissing, DestinationFailed };
  // A fresh destination starts empty; otherwise it is opened as it is.
  OpenResult Open(const std::string& source, const std::string& destination, bool fresh);

  bool SeekBoth(uint64_t offset) override;
  size_t Read(unsigned char* buffer, size_t n) override;
  bool Write(const unsigned char* buffer, size_t n) override;
  uint64_t SourceSize() override;

 private:
  zl::UniqueHandle m_source, m_destination;
};

}  // namespace mvcontrol
