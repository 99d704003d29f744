// The recognition server's answer, read into the song's records: every
// status is one the engine knows, every text field fits, and the result
// agrees with the statuses.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "RecoProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int count = in.ConsumeIntegralInRange<int>(0, 5);
  std::vector<RecoTagInfo> records(static_cast<size_t>(count));
  for (RecoTagInfo& r : records) {
    std::memset(&r, 'x', sizeof r);  // whatever the engine left there
    r.status = in.PickValueInArray({0, 1, 2, 3, 11, -7});
  }
  const std::vector<int32_t> before = [&] {
    std::vector<int32_t> s;
    for (const RecoTagInfo& r : records) s.push_back(r.status);
    return s;
  }();
  const std::string answer = in.ConsumeRemainingBytesAsString();

  const int result = zl::ParseRecognitionAnswer(answer.data(), answer.size(), records.data(), count);
  FUZZ_CHECK(result == 0 || result == 1 || result == 2);
  bool failed = false;
  for (size_t i = 0; i < records.size(); ++i) {
    const RecoTagInfo& r = records[i];
    if (before[i] == RECO_STATUS_FOUND || before[i] == RECO_STATUS_NOT_KNOWN) {
      if (result != 2) FUZZ_CHECK(r.status == before[i]);  // settled records are not read again
    }
    FUZZ_CHECK(r.status == RECO_STATUS_FOUND || r.status == RECO_STATUS_FAILED || r.status == RECO_STATUS_NOT_KNOWN ||
               r.status == RECO_STATUS_NO_ANSWER || r.status == before[i]);
    failed = failed || r.status == RECO_STATUS_FAILED;
    if (r.status == RECO_STATUS_FOUND && before[i] != RECO_STATUS_FOUND) {
      FUZZ_CHECK(FuzzFieldTerminated(r.title, sizeof r.title) && FuzzFieldTerminated(r.artist, sizeof r.artist) &&
                 FuzzFieldTerminated(r.album, sizeof r.album) && FuzzFieldTerminated(r.field5, sizeof r.field5) &&
                 FuzzFieldTerminated(r.field6, sizeof r.field6) && FuzzFieldTerminated(r.field7, sizeof r.field7) &&
                 FuzzFieldTerminated(r.field8, sizeof r.field8) &&
                 FuzzFieldTerminated(r.lastField, sizeof r.lastField));
    }
  }
  if (result == 1) FUZZ_CHECK(!failed);
  if (result == 2) for (const RecoTagInfo& r : records) FUZZ_CHECK(r.status == RECO_STATUS_NO_ANSWER);
  return 0;
}
