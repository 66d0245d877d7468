#include "pipeline/summarize.h"

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

TEST(ChooseLanguageTest, ChineseFirstThenEnglishInEitherCase) {
  struct Case {
    const char* article;
    std::optional<Language> expected;
  };
  const std::vector<Case> cases = {
      {"他的书", Language::kChinese},
      {"The price 的 rose", Language::kChinese},  // 的 wins over Latin letters
      {"新产品 E3 发布", Language::kEnglish},       // no 的, a capital E
      {"some plain words", Language::kEnglish},
      {"NO CAPITAL OF THAT KIND", std::nullopt},  // capitals, none an E
      {"2016 123", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseLanguage(G(c.article)), c.expected) << c.article;
  }
}

TEST(SummarizeTest, NeitherLanguageEmptiesOnlyTheOutput) {
  Workspace ws;
  ws.fields.content = "ABC 123";
  ws.fields.output = "old summary";
  ws.fields.status = "old status";
  ws.SentenceTable.InsertRow("kept row");
  EXPECT_EQ(Summarize(ws), std::nullopt);
  EXPECT_EQ(ws.fields.output, GbkText());
  EXPECT_EQ(ws.fields.status, GbkText("old status"));
  EXPECT_EQ(ws.SentenceTable.RowCount(), 1);
  EXPECT_EQ(ws.WorkText, GbkText("ABC 123"));
}

TEST(SummarizeTest, EmptyContentLeavesStatusAlone) {
  Workspace ws;
  ws.fields.status = "";
  EXPECT_EQ(Summarize(ws), std::nullopt);
  EXPECT_EQ(ws.fields.output, GbkText());
  EXPECT_EQ(ws.fields.status, GbkText());
}

TEST(ReportLengthsTest, HalvesByteCountsForChineseOnly) {
  struct Case {
    Language language;
    int content_bytes;
    int output_bytes;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {Language::kChinese, 2248, 601, "原文1124字，摘要300字"},
      {Language::kChinese, 2249, 0, "原文1124字，摘要0字"},
      {Language::kChinese, 1, 1, "原文0字，摘要0字"},
      {Language::kEnglish, 2385, 398, "原文2385字，摘要398字"},
      {Language::kEnglish, 0, 0, "原文0字，摘要0字"},
  };
  for (const Case& c : cases) {
    Workspace ws;
    ws.fields.content = std::string(c.content_bytes, 'x');
    ws.fields.output = std::string(c.output_bytes, 'y');
    ReportLengths(ws, c.language);
    EXPECT_EQ(U(ws.fields.status), c.expected);
  }
}

TEST(SummarizeTest, ReportsTheContentAsItStandsAtTheEnd) {
  // The stages may yield to a front end that changes the content field; the
  // status measures the field, not WorkText.
  Workspace ws;
  ws.fields.content = G("的");
  int calls = 0;
  ws.process_events = [&] {
    if (calls++ == 0) ws.fields.content = G("的的的的");
  };
  ASSERT_EQ(Summarize(ws), Language::kChinese);
  ASSERT_GT(calls, 0);
  EXPECT_EQ(U(ws.fields.status).rfind("原文4字，", 0), 0u) << U(ws.fields.status);
}

TEST(SummarizeTest, YieldsBeforeTheTermStatisticsBegin) {
  // A front end gets control during the preparation stages already, before
  // the first progress caption; the run's result is the same either way.
  Workspace quiet;
  quiet.fields.content = G("今天的天气很好，我们去公园散步。今天的天气很好。");
  Summarize(quiet);

  Workspace ws;
  ws.fields.content = quiet.fields.content;
  std::vector<GbkText> statuses;
  ws.process_events = [&] { statuses.push_back(ws.fields.status); };
  Summarize(ws);
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.front(), GbkText());
  EXPECT_EQ(ws.fields.output, quiet.fields.output);
  EXPECT_EQ(ws.fields.status, quiet.fields.status);
}

}  // namespace
}  // namespace quillet
