// SummarizeJsonLine in-process: one line of a batch and the exact line it
// gives. Batches as the process reads and writes them (order, jobs, every
// kind of broken line) are checked in jsonl_batch_test.cc.

#include "cli/jsonl_line.h"

#include <gtest/gtest.h>

namespace quillet::cli {
namespace {

TEST(SummarizeJsonLineTest, OneArticleGivesOneResultLine) {
  // The emoji has no GBK form and becomes "?", which ends the sentence; the
  // LF becomes CR LF in the field, so the content is 28 + 2 + 7 bytes.
  const std::string line =
      R"({"title": "Rail", "article": "The rail line opened today \ud83d\ude00\nat noon"})";
  EXPECT_EQ(SummarizeJsonLine(line, 42, 2),
            R"({"line":42,"language":"english","summary":"The rail line opened today ?",)"
            R"("status":"原文37字，摘要28字","keywords":"关键词：    ",)"
            R"("sentences":[["The rail line opened today ?","0.2","0"]],"terms":[],)"
            R"("summary_rows":[["The rail line opened today ?","999999"]],"replaced":1})");
}

TEST(SummarizeJsonLineTest, LineThatCannotBeSummarisedGivesAnErrorLine) {
  EXPECT_EQ(SummarizeJsonLine(R"({"article": 1})", 5, 0),
            R"({"line":5,"error":"\"article\" is not a string"})");
  EXPECT_EQ(SummarizeJsonLine(" \t", 6, 0), R"({"line":6,"error":"blank line"})");
}

}  // namespace
}  // namespace quillet::cli
