#include "SearchOutcome.h"

namespace zl {

bool ResourceCompleteLocally(bool localInfoValid, Pre_Set_State state) {
  return localInfoValid && state == PRE_SET_FULL;
}

bool SendsStoredResource(bool localInfoValid, bool filesMissing) { return !localInfoValid && !filesMissing; }

bool StoredResourceStillValid(bool localInfoValid, bool filesMissing, const std::string& answerZipSig,
                              const std::string& storedZipSig) {
  return SendsStoredResource(localInfoValid, filesMissing) && !answerZipSig.empty() && answerZipSig == storedZipSig;
}

ResourceNames UnpackedResourceNames(bool hasLyric, const std::string& lyricArtist, const std::string& lyricTitle,
                                    const std::string& headerArtist, const std::string& headerTitle) {
  return hasLyric ? ResourceNames{lyricArtist, lyricTitle} : ResourceNames{headerArtist, headerTitle};
}

FindOutcome SettleFindResult(Result r, bool localInfoValid, int currentCount, int storedCount) {
  if (r != RESULT_NET_ERR) return {r, false};
  const bool useStored = !localInfoValid;
  const int usable = useStored ? storedCount : currentCount;
  return {usable > 0 ? RESULT_OK : RESULT_NET_ERR, useStored};
}

bool AnswerFoundSomething(ResultType rt, bool listEmpty, bool hasLyricPath) {
  return (rt == RESULT_TYPE_LIST && !listEmpty) || (rt == RESULT_TYPE_CONTENT && hasLyricPath);
}

const char* SearchEventMark(Result r, bool found) {
  if (r != RESULT_OK) return "NET_ERR";
  return found ? "Y" : "N";
}

}  // namespace zl
