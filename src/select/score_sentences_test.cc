#include "select/score_sentences.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_util.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

using Terms = std::vector<std::pair<const char*, const char*>>;  // term, count

// A workspace whose TermTable holds terms in the given order and whose
// SentenceTable holds the sentences with score "1" and their positions.
Workspace MakeWorkspace(const Terms& terms,
                        const std::vector<std::string>& sentences) {
  Workspace ws;
  for (const auto& [term, count] : terms) {
    ws.TermTable.SetCell(ws.TermTable.InsertRow(G(term)), kColumnA, count);
  }
  for (const std::string& sentence : sentences) {
    const int row = ws.SentenceTable.InsertRow(G(sentence));
    ws.SentenceTable.SetCell(row, kColumnA, "1");
    ws.SentenceTable.SetCell(row, kColumnB, NumberToText(row));
  }
  return ws;
}

std::vector<std::string> Scores(const Workspace& ws) {
  std::vector<std::string> scores;
  for (int r = 0; r < ws.SentenceTable.RowCount(); ++r) {
    scores.push_back(ws.SentenceTable.GetCell(r, kColumnA).bytes());
  }
  return scores;
}

struct ScoreCase {
  std::string sentence;
  std::string score;
};

// Scores each sentence of cases in one table and compares row by row.
void ExpectScores(const Terms& terms, Language language,
                  const std::vector<ScoreCase>& cases) {
  std::vector<std::string> sentences;
  std::vector<std::string> expected;
  for (const ScoreCase& c : cases) {
    sentences.push_back(c.sentence);
    expected.push_back(c.score);
  }
  Workspace ws = MakeWorkspace(terms, sentences);
  ScoreSentences(ws, language);
  const std::vector<std::string> scores = Scores(ws);
  ASSERT_EQ(scores.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(scores[i], expected[i]) << cases[i].sentence;
  }
}

// The worked example, one step at a time: two leading terms with counts 5
// and 3 take the score from 1 to 6 and 9; a head "一、" divides by 3 twice
// (3, then 1) and "？" by 10 (0.1).
TEST(ScoreSentencesTest, WorkedExampleStepByStep) {
  const Terms terms = {{"经济", "5"}, {"市场", "3"}, {"银行", "2"}};
  ExpectScores(terms, Language::kChinese,
               {
                   {"今年经济增长很快", "6"},
                   {"今年经济和市场增长", "9"},
                   {"一是经济和市场增长", "3"},
                   {"一、经济和市场增长", "1"},
                   {"一、经济和市场增长吗？", "0.1"},
               });
}

TEST(ScoreSentencesTest, OnlyTheFirstSixTermsCountEachOnce) {
  const Terms terms = {{"aa", "1"},  {"bb", "2"},  {"cc", "4"}, {"dd", "8"},
                       {"ee", "16"}, {"ff", "32"}, {"gg", "64"}};
  ExpectScores(terms, Language::kEnglish,
               {
                   {"aa bb cc dd ee ff gg", "64"},  // 1 + 63; "gg" is seventh
                   {"gg gg gg", "1"},
                   {"aa aa aa aa", "2"},            // found once, added once
                   {"Aa and BB.", "4"},             // letter case folds
                   {"", "1"},                       // nothing is found in ""
               });
}

TEST(ScoreSentencesTest, MissingTermRowsAddNothing) {
  ExpectScores({}, Language::kEnglish, {{"Any sentence at all.", "1"}});
  ExpectScores({{"rate", "7"}}, Language::kEnglish,
               {{"The rate fell.", "8"}, {"Nothing here.", "1"}});
  // A term row with an empty count adds 0.
  ExpectScores({{"rate", ""}, {"fell", "2"}}, Language::kEnglish,
               {{"The rate fell.", "3"}});
}

TEST(ScoreSentencesTest, ChinesePenalties) {
  ExpectScores({}, Language::kChinese,
               {
                   {"一个人走了", "0.3333333333333"},
                   {"第一个人走了", "0.3333333333333"},  // second character
                   {"今天一人走了", "1"},                // third character only
                   {"十一月到了", "0.1111111111111"},    // 3 for 一, 3 for 十
                   {"ab一个人", "0.3333333333333"},     // still within 4 bytes
                   {"abc一个人", "1"},                  // starts at byte 4
                   {"、然后是这样", "0.3333333333333"},
                   {"他是否知道如何会不会", "0.125"},   // 2 x 2 x 2
                   {"他是否知道？", "0.05"},            // 2 x 10
                   {"真的？真的？", "0.1"},             // fires once
                   {"他知道吗?", "1"},                  // ASCII "?" is English
                   {"九、是否？", "0.005555555555555"},  // 1/180 exactly would end in 6
               });
}

TEST(ScoreSentencesTest, EnglishQuestionAtTheVeryEnd) {
  ExpectScores({}, Language::kEnglish,
               {
                   {"Is it over?", "0.2"},
                   {"Is it over? ", "1"},
                   {"Over? Not yet.", "1"},
                   {"Is it over？", "1"},     // full-width mark
                   {"一、is it over", "1"},   // the Chinese rules do not apply
               });
}

// Every division starts from the stored text: 7 / 3 is stored as
// 2.333333333333, and a second division by 3 gives 0.7777777777777, where
// the exact 7 / 9 would be written 0.7777777777778.
TEST(ScoreSentencesTest, EachDivisionStartsFromTheStoredText) {
  ExpectScores({{"人", "6"}}, Language::kChinese,
               {{"三人行", "2.333333333333"}, {"三四个人", "0.7777777777777"}});
}

TEST(ScoreSentencesTest, TouchesOnlyTheScores) {
  Workspace ws = MakeWorkspace({{"rate", "2"}}, {"The rate?", "Other."});
  ScoreSentences(ws, Language::kEnglish);
  ASSERT_EQ(ws.SentenceTable.RowCount(), 2);
  EXPECT_EQ(ws.SentenceTable.GetCell(0, kTextColumn), GbkText("The rate?"));
  EXPECT_EQ(ws.SentenceTable.GetCell(0, kColumnA), GbkText("0.6"));
  EXPECT_EQ(ws.SentenceTable.GetCell(0, kColumnB), GbkText("0"));
  EXPECT_EQ(ws.SentenceTable.GetCell(1, kColumnB), GbkText("1"));
  EXPECT_EQ(ws.TermTable.RowCount(), 1);
  EXPECT_EQ(ws.TermTable.GetCell(0, kColumnA), GbkText("2"));
}

}  // namespace
}  // namespace quillet
