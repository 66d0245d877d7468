#include "tables/work_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;

// A table shaped like the sentence table, one row per key text, with the
// row's text "r<i>" and column b "b<i>".
WorkTable TableWithKeys(const std::vector<std::string>& keys) {
  WorkTable table({G("句"), "a", "b"});
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const int row = table.InsertRow("r" + std::to_string(i));
    table.SetCell(row, kColumnA, keys[i]);
    table.SetCell(row, kColumnB, "b" + std::to_string(i));
  }
  return table;
}

std::vector<std::string> Column(const WorkTable& table, int column) {
  std::vector<std::string> out;
  for (int r = 0; r < table.RowCount(); ++r) {
    out.push_back(table.GetCell(r, column).bytes());
  }
  return out;
}

TEST(WorkTableTest, RowsAreNumberedInInsertionOrder) {
  WorkTable table({G("词"), "a"});
  EXPECT_EQ(table.ColumnOf("a"), kColumnA);
  EXPECT_EQ(table.ColumnOf(G("词")), kTextColumn);
  EXPECT_EQ(table.ColumnOf("b"), -1);
  EXPECT_EQ(table.InsertRow("x"), 0);
  EXPECT_EQ(table.InsertRow("y"), 1);
  EXPECT_EQ(table.GetCell(1, kTextColumn).bytes(), "y");
  EXPECT_EQ(table.GetCell(1, kColumnA).bytes(), "");  // never written
  table.DeleteAllRows();
  EXPECT_EQ(table.RowCount(), 0);
  EXPECT_EQ(table.InsertRow("z"), 0);
}

TEST(WorkTableTest, MissingRowsReadEmptyAndIgnoreWrites) {
  WorkTable table = TableWithKeys({"1", "2", "3"});
  for (int row : {-1, 3, 100}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(table.GetCell(row, kTextColumn).bytes(), "");
    table.SetCell(row, kColumnA, "9");
    table.DeleteRow(row);
    EXPECT_EQ(Column(table, kColumnA), (std::vector<std::string>{"1", "2", "3"}));
  }
  EXPECT_EQ(table.GetCell(0, 3).bytes(), "");   // no such column
  EXPECT_EQ(table.GetCell(0, -1).bytes(), "");
  table.SetCell(0, 3, "9");
  EXPECT_EQ(table.GetCell(0, 3).bytes(), "");

  // Deleting row 0 moves the later rows up by one.
  table.DeleteRow(0);
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.GetCell(0, kTextColumn).bytes(), "r1");
  EXPECT_EQ(table.GetCell(0, kColumnB).bytes(), "b1");
  EXPECT_EQ(table.GetCell(2, kTextColumn).bytes(), "");
}

TEST(WorkTableTest, SortByKeyOrdersByIntegerPartLargestFirst) {
  struct Case {
    std::vector<std::string> keys;
    std::vector<std::string> sorted;
  };
  const std::vector<Case> cases = {
      {{"2.5", "10", "3", ""}, {"10", "3", "2.5", ""}},
      // «5e-005» has the key 5, above «4.9».
      {{"2.5", "10", "3", "", "5e-005", "4.9"},
       {"10", "5e-005", "4.9", "3", "2.5", ""}},
      {{"999997", "999999", "999998"}, {"999999", "999998", "999997"}},
      {{"999997", "999999", "998"}, {"999999", "999997", "998"}},
      {{"-3", "x", "0.5", "-0.5"}, {"x", "0.5", "-0.5", "-3"}},
      {{"-2147483648", "2147483647", "0"}, {"2147483647", "0", "-2147483648"}},
      {{"7"}, {"7"}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    WorkTable table = TableWithKeys(c.keys);
    table.SortByKey(kColumnA);
    EXPECT_EQ(Column(table, kColumnA), c.sorted);
  }
}

TEST(WorkTableTest, SortByKeyKeepsEqualKeysInOrderAndMovesWholeRows) {
  // Keys 7, 1, 7, 0, 7, 1 (by integer part).
  WorkTable table = TableWithKeys({"7.9", "1", "7", "", "7.2", "1.5"});
  table.SortByKey(kColumnA);
  EXPECT_EQ(Column(table, kTextColumn),
            (std::vector<std::string>{"r0", "r2", "r4", "r1", "r5", "r3"}));
  EXPECT_EQ(Column(table, kColumnB),
            (std::vector<std::string>{"b0", "b2", "b4", "b1", "b5", "b3"}));
  // Sorting again changes nothing: ties stay where the last sort put them.
  table.SortByKey(kColumnA);
  EXPECT_EQ(Column(table, kTextColumn),
            (std::vector<std::string>{"r0", "r2", "r4", "r1", "r5", "r3"}));
}

TEST(WorkTableTest, SortByKeyIsAStableSortByCompareKeys) {
  // Keys drawn from a small set with extremes and ties: the order must be
  // that of a stable sort with CompareKeys itself as the comparison.
  const std::vector<std::string> pool = {"-2147483648", "2147483647", "99999999999",
                                         "-5", "0", "3", "3.7", "x", "", "-0"};
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < 200; ++i) keys.push_back(pool[(i * 7 + i / 3) % pool.size()]);
  WorkTable table = TableWithKeys(keys);
  table.SortByKey(kColumnA);
  std::vector<std::size_t> order(keys.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return CompareKeys(GbkText(keys[a]), GbkText(keys[b])) < 0;
  });
  std::vector<std::string> expected;
  for (std::size_t i : order) expected.push_back("r" + std::to_string(i));
  EXPECT_EQ(Column(table, kTextColumn), expected);
}

TEST(WorkTableTest, CompareKeysIsSecondMinusFirst) {
  EXPECT_EQ(CompareKeys("1", "3"), 2);
  EXPECT_EQ(CompareKeys("3.9", "1"), -2);
  EXPECT_EQ(CompareKeys("7", "7.9"), 0);
  EXPECT_EQ(CompareKeys("5e-005", "4.9"), -1);
  // The difference of extreme keys saturates but keeps its sign.
  EXPECT_GT(CompareKeys("-2147483648", "2147483647"), 0);
  EXPECT_LT(CompareKeys("2147483647", "-2147483648"), 0);
}

}  // namespace
}  // namespace quillet
