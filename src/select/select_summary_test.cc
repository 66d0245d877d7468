#include "select/select_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_util.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

struct Row {
  GbkText text;
  std::string score;
  std::string position;
};

Workspace MakeWorkspace(const std::vector<Row>& rows, int length_class) {
  Workspace ws;
  for (const Row& row : rows) {
    const int r = ws.SentenceTable.InsertRow(row.text);
    ws.SentenceTable.SetCell(r, kColumnA, row.score);
    ws.SentenceTable.SetCell(r, kColumnB, row.position);
  }
  ws.fields.length_class = length_class;
  ws.fields.output = "stale output";
  return ws;
}

std::vector<std::vector<GbkText>> Cells(const WorkTable& table, int columns) {
  std::vector<std::vector<GbkText>> cells;
  for (int r = 0; r < table.RowCount(); ++r) {
    cells.emplace_back();
    for (int c = 0; c < columns; ++c) cells.back().push_back(table.GetCell(r, c));
  }
  return cells;
}

GbkText Bytes(int n, char c) { return GbkText(std::string(n, c)); }

TEST(LengthLimitBytesTest, ListItemsAndNoSelection) {
  struct Case {
    int length_class;
    int chinese;
    int english;
  };
  const std::vector<Case> cases = {
      {0, 400, 400},  {1, 600, 600},  {2, 800, 800}, {3, 1000, 1000},
      {-1, 600, 400}, {4, 600, 400},  {-2, 600, 400}, {1000, 600, 400},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LengthLimitBytes(c.length_class, Language::kChinese), c.chinese)
        << c.length_class;
    EXPECT_EQ(LengthLimitBytes(c.length_class, Language::kEnglish), c.english)
        << c.length_class;
  }
}

// The best sentence is 200 bytes; the second brings the joined text to
// exactly the limit (taken) or one byte over it (not taken).
TEST(SelectSummaryTest, JoinedTextUpToTheLimitIsTaken) {
  struct Case {
    Language language;
    int length_class;
    int second_bytes;
    bool second_taken;
  };
  const std::vector<Case> cases = {
      {Language::kChinese, 0, 200, true},  {Language::kChinese, 0, 201, false},
      {Language::kEnglish, 0, 200, true},  {Language::kEnglish, 0, 201, false},
      {Language::kChinese, -1, 400, true}, {Language::kChinese, -1, 401, false},
      {Language::kEnglish, -1, 200, true}, {Language::kEnglish, -1, 201, false},
      {Language::kEnglish, 1, 400, true},  {Language::kEnglish, 1, 401, false},
      {Language::kChinese, 3, 800, true},  {Language::kChinese, 3, 801, false},
  };
  for (const Case& c : cases) {
    Workspace ws = MakeWorkspace(
        {{Bytes(200, 'a'), "5", "0"}, {Bytes(c.second_bytes, 'b'), "4", "1"}},
        c.length_class);
    SelectSummary(ws, c.language);
    const GbkText expected = c.second_taken
        ? ConcatText(Bytes(200, 'a'), Bytes(c.second_bytes, 'b'))
        : Bytes(200, 'a');
    EXPECT_EQ(ws.fields.output, expected)
        << "class " << c.length_class << ", second " << c.second_bytes;
    EXPECT_EQ(ws.SummaryTable.RowCount(), c.second_taken ? 2 : 1);
  }
}

TEST(SelectSummaryTest, FirstOverflowEndsTheChoice) {
  // The second-best sentence overflows; the third would fit but is not tried.
  Workspace ws = MakeWorkspace({{Bytes(300, 'a'), "3", "0"},
                                {Bytes(200, 'b'), "2", "1"},
                                {Bytes(50, 'c'), "1", "2"}},
                               0);
  SelectSummary(ws, Language::kEnglish);
  EXPECT_EQ(ws.fields.output, Bytes(300, 'a'));
  EXPECT_EQ(ws.SummaryTable.RowCount(), 1);
}

TEST(SelectSummaryTest, BestSentenceLongerThanTheLimitStandsAlone) {
  Workspace ws = MakeWorkspace(
      {{Bytes(10, 'b'), "2", "0"}, {Bytes(700, 'a'), "9", "1"}}, 0);
  SelectSummary(ws, Language::kChinese);
  EXPECT_EQ(ws.fields.output, Bytes(700, 'a'));
  EXPECT_EQ(Cells(ws.SummaryTable, 2),
            (std::vector<std::vector<GbkText>>{{Bytes(700, 'a'), "999998"}}));
}

TEST(SelectSummaryTest, EmptySentenceTableGivesOneEmptyRow) {
  Workspace ws = MakeWorkspace({}, 0);
  SelectSummary(ws, Language::kChinese);
  EXPECT_EQ(ws.fields.output, GbkText());
  EXPECT_EQ(Cells(ws.SummaryTable, 2),
            (std::vector<std::vector<GbkText>>{{"", "999999"}}));
}

TEST(SelectSummaryTest, OrdersByTheIntegerPartOfTheScore) {
  Workspace ws = MakeWorkspace({{"s2.99", "2.99", "0"},
                                {"s3.9", "3.9", "1"},
                                {"s4", "4", "2"},
                                {"s3.2", "3.2", "3"}},
                               3);
  SelectSummary(ws, Language::kEnglish);
  // 3.9 and 3.2 share the key 3 and keep their order; cells move with rows.
  EXPECT_EQ(Cells(ws.SentenceTable, 3),
            (std::vector<std::vector<GbkText>>{{"s4", "4", "2"},
                                               {"s3.9", "3.9", "1"},
                                               {"s3.2", "3.2", "3"},
                                               {"s2.99", "2.99", "0"}}));
  EXPECT_EQ(ws.fields.output, GbkText("s2.99s3.9s4s3.2"));  // article order
}

TEST(SelectSummaryTest, ChosenSentencesStandInArticleOrder) {
  std::vector<Row> rows;
  for (int p = 0; p < 9; ++p) {
    const char* score = p == 7 ? "9" : p == 2 ? "8" : "1";
    rows.push_back({Bytes(150, static_cast<char>('a' + p)), score,
                    std::to_string(p)});
  }
  Workspace ws = MakeWorkspace(rows, 0);
  SelectSummary(ws, Language::kEnglish);
  EXPECT_EQ(ws.fields.output,
            ConcatText(Bytes(150, 'c'), Bytes(150, 'h')));
  EXPECT_EQ(Cells(ws.SummaryTable, 2),
            (std::vector<std::vector<GbkText>>{{Bytes(150, 'c'), "999997"},
                                               {Bytes(150, 'h'), "999992"}}));
}

TEST(SelectSummaryTest, CleansQuotationMarksAndSemicolonsInTheOutputOnly) {
  const GbkText first = G("他说：“我们来了”；“你们呢”。");
  const GbkText second = G("标题\"新闻\"和‘引号’；完");
  Workspace ws = MakeWorkspace({{first, "2", "0"}, {second, "1", "1"}}, 0);
  SelectSummary(ws, Language::kChinese);
  EXPECT_EQ(U(ws.fields.output), "他说：我们来了。你们呢。标题新闻和‘引号’。完");
  EXPECT_EQ(ws.SummaryTable.GetCell(0, kTextColumn), first);
  EXPECT_EQ(ws.SummaryTable.GetCell(1, kTextColumn), second);
}

}  // namespace
}  // namespace quillet
