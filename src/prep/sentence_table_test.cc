#include "prep/sentence_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prep/mark_sentences.h"
#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

// The rows of SentenceTable as UTF-8 sentence and column b; column a is
// checked separately.
struct Row {
  std::string text;
  std::string b;
  bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(const Workspace& ws) {
  std::vector<Row> rows;
  for (int r = 0; r < ws.SentenceTable.RowCount(); ++r) {
    rows.push_back({U(ws.SentenceTable.GetCell(r, kTextColumn)),
                    U(ws.SentenceTable.GetCell(r, kColumnB))});
  }
  return rows;
}

std::string Show(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& row : rows) out += "[" + row.text + "|" + row.b + "] ";
  return out;
}

struct BuildCase {
  std::string marked;  // WorkText as the marking leaves it, UTF-8
  std::vector<Row> rows;
};

TEST(BuildSentenceTableTest, KeepsFirstCopiesOfFifteenBytesOrMore) {
  const std::vector<BuildCase> cases = {
      // Seven characters and "。" are 16 bytes, six and "。" are 14.
      {"今天天气很好啊。〓今天天气很好。〓", {{"今天天气很好啊。", "0"}}},
      // Exactly 15 bytes is kept, 14 is not.
      {"abcdefghijklmn.〓abcdefghijklm.〓", {{"abcdefghijklmn.", "0"}}},
      // Column b counts kept sentences only.
      {"第一句话说得很长。〓短。〓第三句话也很长啊。〓",
       {{"第一句话说得很长。", "0"}, {"第三句话也很长啊。", "1"}}},
      // Later byte-exact copies go, however many; the first stays in place.
      {"甲乙丙丁戊己庚。〓子丑寅卯辰巳午。〓甲乙丙丁戊己庚。〓"
       "甲乙丙丁戊己庚。〓子丑寅卯辰巳午。〓",
       {{"甲乙丙丁戊己庚。", "0"}, {"子丑寅卯辰巳午。", "1"}}},
      // Letter case and a single blank make sentences different.
      {"The plan works well.〓the plan works well.〓The plan  works well.〓",
       {{"The plan works well.", "0"},
        {"the plan works well.", "1"},
        {"The plan  works well.", "2"}}},
      // Empty pieces (a leading mark, marks in a row) and short ones add
      // no rows; a last piece without a mark behind it is kept.
      {"〓开头。〓〓〓开头。〓〓一直没有标点的最后一段文字",
       {{"一直没有标点的最后一段文字", "0"}}},
      // No mark: the whole text is one piece.
      {"一直没有标点的一段文字", {{"一直没有标点的一段文字", "0"}}},
      {"", {}},
  };
  for (const BuildCase& c : cases) {
    Workspace ws;
    ws.SentenceTable.InsertRow("left over from the last run");
    ws.WorkText = G(c.marked);
    BuildSentenceTable(ws);
    EXPECT_EQ(RowsOf(ws), c.rows) << c.marked << "\n gave " << Show(RowsOf(ws));
    for (int r = 0; r < ws.SentenceTable.RowCount(); ++r) {
      EXPECT_EQ(ws.SentenceTable.GetCell(r, kColumnA), GbkText("1"));
    }
    EXPECT_EQ(ws.WorkText, G(c.marked));
  }
}

TEST(BuildSentenceTableTest, LaterEnglishSentencesCountTheirLeadingBlank) {
  // "It works well." is 14 bytes: dropped at the start of the article,
  // kept later on with the blank that the marking leaves in front of it.
  Workspace ws;
  ws.WorkText = G("It works well. It works well.");
  MarkSentences(ws, Language::kEnglish);
  BuildSentenceTable(ws);
  EXPECT_EQ(RowsOf(ws), (std::vector<Row>{{" It works well.", "0"}}));
}

struct TrimCase {
  Language language;
  std::string before;
  std::string after;
};

TEST(TrimSentencesTest, RemovesBracketsThenShortLeadingClause) {
  const Language zh = Language::kChinese;
  const Language en = Language::kEnglish;
  const std::vector<TrimCase> cases = {
      {zh, "全市（不含郊区）人口增长较快。", "全市人口增长较快。"},
      {zh, "据悉，今年全市经济增长较快。", "今年全市经济增长较快。"},
      {zh, "今年上半年，全市经济增长较快。", "今年上半年，全市经济增长较快。"},
      {en, " However, the plan was approved.", "the plan was approved."},
      {en, " Officials (AP) approved the plan.", " Officials  approved the plan."},

      // Clause windows: four characters before "，" are cut, five kept; a
      // "，" that starts at byte 10 does not lie within the window.
      {zh, "今年上半，全市经济增长较快。", "全市经济增长较快。"},
      {zh, "abcdefgh，全市经济增长较快。", "全市经济增长较快。"},
      {zh, "abcdefghi，全市经济增长较快。", "abcdefghi，全市经济增长较快。"},
      // A comma at byte 20 is cut, at byte 21 kept; the byte behind the
      // comma goes with it, a letter too.
      {en, " abcdefghijklmnopqr, the rest.", "the rest."},
      {en, " abcdefghijklmnopqrs, the rest.", " abcdefghijklmnopqrs, the rest."},
      {en, " Yes,sir said the man.", "ir said the man."},
      {en, " So,", ""},

      // Two full-width parts go, then four ASCII ones; the rest stays.
      {zh, "甲（一）乙（二）丙（三）丁。", "甲乙丙（三）丁。"},
      {zh, "甲(a)乙(b)丙(c)丁(d)戊(e)己（一）庚。", "甲乙丙丁戊(e)己庚。"},
      {en, "a(1)b(2)c(3)d(4)e(5)f.", "abcde(5)f."},
      // Nested: from the first opening mark to the first closing one.
      {zh, "甲（乙（丙）丁）戊。", "甲丁）戊。"},
      // Brackets go before the clause is measured.
      {en, "Today (Monday, June 3) the city approved the plan.",
       "Today  the city approved the plan."},
      {en, " (AP) Officials, said a man.", "said a man."},
      // A sentence made only of a bracketed part is emptied.
      {zh, "（全部内容都在括号里面）", ""},

      // An opening mark with no closing mark behind it is left alone; a
      // closing mark in front of the opening one is passed over.
      {zh, "全市（不含郊区人口增长较快。", "全市（不含郊区人口增长较快。"},
      {zh, "全市）不含（郊区）人口增长较快。", "全市）不含人口增长较快。"},
      {zh, "全市）不含（郊区人口增长较快。", "全市）不含（郊区人口增长较快。"},
      {en, "The plan (approved in May is new.", "The plan (approved in May is new."},
      {en, "The plan) was (not) approved in May.", "The plan) was  approved in May."},
      {en, "A) b (c) d (e f) g.", "A) b  d  g."},
  };
  for (const TrimCase& c : cases) {
    Workspace ws;
    ws.SentenceTable.InsertRow(G(c.before));
    ws.SentenceTable.SetCell(0, kColumnA, "1");
    ws.SentenceTable.SetCell(0, kColumnB, "0");
    TrimSentences(ws, c.language);
    ASSERT_EQ(ws.SentenceTable.RowCount(), 1);
    EXPECT_EQ(ws.SentenceTable.GetCell(0, kTextColumn), G(c.after))
        << c.before << "\n gave " << U(ws.SentenceTable.GetCell(0, kTextColumn));
    EXPECT_EQ(ws.SentenceTable.GetCell(0, kColumnA), GbkText("1"));
    EXPECT_EQ(ws.SentenceTable.GetCell(0, kColumnB), GbkText("0"));
  }
}

TEST(TrimSentencesTest, TrimsEveryRowAndKeepsThemAll) {
  // Two sentences that differ only in a bracketed part are both rows and
  // become equal; a row trimmed below 15 bytes stays as well.
  Workspace ws;
  ws.WorkText = G("全市（不含郊区）人口增长较快。〓全市（含郊区）人口增长较快。〓"
                  "据悉，很快就好了。〓");
  BuildSentenceTable(ws);
  TrimSentences(ws, Language::kChinese);
  EXPECT_EQ(RowsOf(ws), (std::vector<Row>{{"全市人口增长较快。", "0"},
                                          {"全市人口增长较快。", "1"},
                                          {"很快就好了。", "2"}}))
      << Show(RowsOf(ws));
}

TEST(RebuildWorkTextTest, JoinsTheRowsWithNothingBetween) {
  Workspace ws;
  ws.WorkText = G("据悉，今年全市经济增长较快。〓短。〓"
                  "全市（不含郊区）人口增长较快。〓");
  BuildSentenceTable(ws);
  TrimSentences(ws, Language::kChinese);
  RebuildWorkText(ws);
  EXPECT_EQ(ws.WorkText, G("今年全市经济增长较快。全市人口增长较快。"))
      << U(ws.WorkText);

  ws.WorkText = GbkText();
  BuildSentenceTable(ws);
  RebuildWorkText(ws);
  EXPECT_EQ(ws.SentenceTable.RowCount(), 0);
  EXPECT_EQ(ws.WorkText, GbkText());
}

}  // namespace
}  // namespace quillet
