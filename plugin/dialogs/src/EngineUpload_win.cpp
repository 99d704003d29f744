// The upload goes through the engine's UploadLrc, which a build of the
// engine may not have yet: the call is made only where it exists.
#include <type_traits>
#include <utility>

#include "dialogs/LyricDialogsFactory_win.h"

namespace {

template <typename E, typename = void>
struct HasUploadLrc : std::false_type {};
template <typename E>
struct HasUploadLrc<E, std::void_t<decltype(std::declval<E&>().UploadLrc(std::declval<const LrcItem&>()))>>
    : std::true_type {};

template <typename E>
Result Upload(E& engine, const LrcItem& item) {
  if constexpr (HasUploadLrc<E>::value) {
    return engine.UploadLrc(item);
  } else {
    (void)engine;
    (void)item;
    return RESULT_FAIL;
  }
}

}  // namespace

Result UploadWithEngine(ZLyric& engine, const LrcItem& item) { return Upload(engine, item); }
bool EngineCanUpload() { return HasUploadLrc<ZLyric>::value; }
