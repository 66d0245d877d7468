// The plain term statistics kept as the reference: the points at which they
// hand control to the window, one call per window, candidate, merge pair,
// examined row and word position. The fast versions promise less (see
// src/terms); their results are compared with these in
// terms_differential_test.cc.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reference/chinese_terms.h"
#include "reference/english_words.h"
#include "support/test_util.h"

namespace quillet {
namespace {

using ::quillet::testing::G;
using ::quillet::testing::U;

void Extract(Workspace& ws, const GbkText& counting_text) {
  ws.WorkText = counting_text;
  reference::BuildCharList(ws);
  reference::ExtractChineseTerms(ws);
}

TEST(ReferenceChineseTermsTest, ShowsProgressAndYieldsAtEveryStep) {
  Workspace ws;
  testing::ProgressRecorder progress(ws);
  ws.fields.status = "x";
  // Nine elements. Pass p forms max(0, 9 - n) windows for n = 18 - p; only
  // the last pass has candidates (three windows 中国), the first of which is
  // a term. Calls: 8 passes with no window (8), then n = 9..3 with 0..6
  // windows plus the pass end (1+2+...+7 = 28), the last pass 7 windows +
  // 3 candidates + 1 (11); the merge of one row (1) and the removal step
  // examining it (1).
  Extract(ws, G("中国 中国 中国 "));
  EXPECT_EQ(progress.calls, 8 + 28 + 11 + 1 + 1);
  const std::vector<std::string> expected = {
      "6%",  "12%", "18%", "25%", "31%", "37%", "43%", "50%",
      "56%", "62%", "68%", "75%", "81%", "87%", "93%", "100%"};
  EXPECT_EQ(progress.captions, expected);
}

TEST(ReferenceChineseTermsTest, YieldsForEveryMergePairAndExaminedRow) {
  Workspace ws;
  int calls = 0;
  ws.process_events = [&] { ++calls; };
  Extract(ws, G("经济 发展 经济 发展 经济 发展 "));
  const int with_two_rows = calls;

  // Same number of elements (18) and windows, one term instead of two:
  // the merge visits 1 pair instead of 4, the removal step examines 1 row
  // instead of 2, and the last pass has the same candidates.
  calls = 0;
  Extract(ws, G("经济 一一 经济 二二 经济 三三 "));
  ASSERT_EQ(ws.TermTable.RowCount(), 1);
  EXPECT_EQ(with_two_rows - calls, (4 - 1) + (2 - 1));
}

TEST(ReferenceEnglishWordsTest, YieldsTwicePerPositionThenShowsZeroPercent) {
  Workspace ws;
  ws.fields.status = "x";
  int calls = 0;
  bool status_kept = true;
  ws.process_events = [&] {
    ++calls;
    status_kept = status_kept && ws.fields.status == GbkText("x");
  };
  // Five positions: "", "rail", "", "rail", "rail".
  ws.WorkText = " rail  rail rail";
  reference::CountEnglishWords(ws);
  EXPECT_EQ(calls, 2 * 5);
  EXPECT_TRUE(status_kept);
  EXPECT_EQ(U(ws.fields.status), "0%");
}

}  // namespace
}  // namespace quillet
