#pragma once
// The rules that settle what a search on the lyric server hands back, apart
// from the request that runs it. Platform-neutral.
#include <string>

#include "lyriccore/LyricRecords.h"

namespace zl {

// Everything is on disk and its info is current: no request is sent.
bool ResourceCompleteLocally(bool localInfoValid, Pre_Set_State state);

// An automatic search sends the stored server path and zip signature only
// when the info is stale and all its files are there: the server can then
// answer that the stored resource is still valid.
bool SendsStoredResource(bool localInfoValid, bool filesMissing);

// The answer's zip signature names the stored resource: it is used again
// and nothing is unpacked. An empty signature names nothing.
bool StoredResourceStillValid(bool localInfoValid, bool filesMissing, const std::string& answerZipSig,
                              const std::string& storedZipSig);

// The names an unpacked resource is filed under: the unpacked lyric's (its
// files are named after it), else the names the answer's header gave.
struct ResourceNames {
  std::string artist, title;
};
ResourceNames UnpackedResourceNames(bool hasLyric, const std::string& lyricArtist, const std::string& lyricTitle,
                                    const std::string& headerArtist, const std::string& headerTitle);

// How an automatic search ends. Without an answer (r 0), stale info gives
// way to the stored resource, and a usable resource (current or stored)
// still counts as a result.
struct FindOutcome {
  Result result;
  bool useStoredContent;
};
FindOutcome SettleFindResult(Result r, bool localInfoValid, int currentCount, int storedCount);

// Whether an answer found anything: a non-empty list, or a resource with a lyric.
bool AnswerFoundSomething(ResultType rt, bool listEmpty, bool hasLyricPath);

// The last field of the SEARCHLRC event: "NET_ERR" without an answer, else "Y" or "N".
const char* SearchEventMark(Result r, bool found);

}  // namespace zl
