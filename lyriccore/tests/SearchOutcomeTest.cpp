// The rules that settle a server search: when nothing is asked, when the
// stored resource comes back, under which names an answer is filed, and what
// a network failure leaves the caller.
#include <gtest/gtest.h>

#include "SearchOutcome.h"

using namespace zl;

TEST(SearchOutcome, OnlyACompleteResourceWithCurrentInfoSkipsTheServer) {
  EXPECT_TRUE(ResourceCompleteLocally(true, PRE_SET_FULL));
  EXPECT_FALSE(ResourceCompleteLocally(false, PRE_SET_FULL));
  EXPECT_FALSE(ResourceCompleteLocally(true, PRE_SET_PART));
  EXPECT_FALSE(ResourceCompleteLocally(true, PRE_SET_NONE));
}

TEST(SearchOutcome, ZipSignatureShortcutNeedsStaleInfoAndEveryFile) {
  EXPECT_TRUE(SendsStoredResource(false, false));
  EXPECT_FALSE(SendsStoredResource(true, false));
  EXPECT_FALSE(SendsStoredResource(false, true));
  EXPECT_TRUE(StoredResourceStillValid(false, false, "abc", "abc"));
  EXPECT_FALSE(StoredResourceStillValid(false, false, "abc", "abd"));
  EXPECT_FALSE(StoredResourceStillValid(true, false, "abc", "abc"));   // info current: nothing stored was sent
  EXPECT_FALSE(StoredResourceStillValid(false, true, "abc", "abc"));   // files missing: unpack again
  EXPECT_FALSE(StoredResourceStillValid(false, false, "", ""));        // no signature names nothing
}

TEST(SearchOutcome, UnpackedLyricNamesTheResourceElseTheHeader) {
  ResourceNames n = UnpackedResourceNames(true, "LA", "LT", "HA", "HT");
  EXPECT_EQ(n.artist, "LA");
  EXPECT_EQ(n.title, "LT");
  n = UnpackedResourceNames(false, "", "", "HA", "HT");
  EXPECT_EQ(n.artist, "HA");
  EXPECT_EQ(n.title, "HT");
}

TEST(SearchOutcome, NetworkFailureWithAUsableLocalResource) {
  // Stale info: the stored resource is handed back, and counts when usable.
  FindOutcome o = SettleFindResult(RESULT_NET_ERR, false, 0, 2);
  EXPECT_TRUE(o.useStoredContent);
  EXPECT_EQ(o.result, RESULT_OK);
  o = SettleFindResult(RESULT_NET_ERR, false, 3, 0);
  EXPECT_TRUE(o.useStoredContent);
  EXPECT_EQ(o.result, RESULT_NET_ERR);  // what the current content held does not count
  // Current info: the current resource stays and counts.
  o = SettleFindResult(RESULT_NET_ERR, true, 1, 0);
  EXPECT_FALSE(o.useStoredContent);
  EXPECT_EQ(o.result, RESULT_OK);
  o = SettleFindResult(RESULT_NET_ERR, true, 0, 5);
  EXPECT_EQ(o.result, RESULT_NET_ERR);
  // An answer, good or bad, is left as it is.
  for (Result r : {RESULT_OK, RESULT_FAIL}) {
    o = SettleFindResult(r, false, 0, 5);
    EXPECT_EQ(o.result, r);
    EXPECT_FALSE(o.useStoredContent);
  }
}

TEST(SearchOutcome, SearchEventMark) {
  EXPECT_TRUE(AnswerFoundSomething(RESULT_TYPE_LIST, false, false));
  EXPECT_FALSE(AnswerFoundSomething(RESULT_TYPE_LIST, true, true));
  EXPECT_TRUE(AnswerFoundSomething(RESULT_TYPE_CONTENT, true, true));
  EXPECT_FALSE(AnswerFoundSomething(RESULT_TYPE_CONTENT, false, false));
  EXPECT_FALSE(AnswerFoundSomething(RESULT_TYPE_NONE, false, true));
  EXPECT_STREQ(SearchEventMark(RESULT_OK, true), "Y");
  EXPECT_STREQ(SearchEventMark(RESULT_OK, false), "N");
  EXPECT_STREQ(SearchEventMark(RESULT_NET_ERR, true), "NET_ERR");
  EXPECT_STREQ(SearchEventMark(RESULT_FAIL, false), "NET_ERR");
}
