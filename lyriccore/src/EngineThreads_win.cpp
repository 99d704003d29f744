#include "lyriccore/EngineThreads.h"

#include "shared/BoundedWorker.h"

unsigned ZLyricDrainThreads(unsigned long boundMs) {
  return static_cast<unsigned>(zl::DrainDetached(static_cast<DWORD>(boundMs)));
}
