#include "controller/UsageEvents.h"

#include <memory>

#include "controller/WorkerStop_win.h"
#include "shared/BoundedWorker.h"
#include "shared/GbkText.h"
#include "shared/LogEventClient.h"
#include "shared/Ownership.h"

namespace {
constexpr size_t kEventTextBytes = 512;
}

std::string UsageEventText(const char* name) {
  const std::string text = std::string("O:<") + (name ? name : "") + ">";
  char cut[kEventTextBytes];
  zl::CopyGbkBounded(cut, sizeof cut, text.data(), text.size());
  return cut;
}

void PostPluginMessageAs(const char* softName, const char* hostName, const char* act, const std::string& text,
                         uint32_t waitMs) {
  if (waitMs == 0) {
    PostLogEvent(softName, hostName, act, text.c_str(), kLogEventNoWait);
    return;
  }
  // A post that outlasts the wait is left to finish on its own (and drained
  // at quit) rather than terminated inside the service.
  auto done = std::make_shared<zl::UniqueHandle>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!*done) return;
  const std::string soft = softName ? softName : "", host = hostName ? hostName : "", what = act ? act : "";
  const bool started = zl::StartDetached([done, soft, host, what, text] {
    PostLogEvent(soft.c_str(), host.c_str(), what.c_str(), text.c_str(), kLogEventWaitForever);
    SetEvent(done->Get());
  });
  if (started) WaitServingSentMessages(done->Get(), waitMs);
}

void PostPluginMessage(const char* act, const std::string& text, uint32_t waitMs) {
  PostPluginMessageAs("LYRIC", "WINAMP", act, text, waitMs);
}

void PostPluginEvent(const char* name, uint32_t waitMs) { PostPluginMessage("EVENT", UsageEventText(name), waitMs); }
