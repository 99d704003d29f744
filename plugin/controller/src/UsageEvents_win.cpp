#include "controller/UsageEvents.h"

#include "shared/GbkText.h"
#include "shared/LogEventClient.h"

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
  // A wait of 0 returns at once; any other wait is bounded by the caller's limit.
  PostLogEvent(softName, hostName, act, text.c_str(), waitMs == 0 ? kLogEventNoWait : waitMs);
}

void PostPluginMessage(const char* act, const std::string& text, uint32_t waitMs) {
  PostPluginMessageAs("LYRIC", "WINAMP", act, text, waitMs);
}

void PostPluginEvent(const char* name, uint32_t waitMs) { PostPluginMessage("EVENT", UsageEventText(name), waitMs); }
