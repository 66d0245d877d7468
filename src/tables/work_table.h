// WorkTable: a table of text cells, the storage of every intermediate
// result of a run (sentences with scores and positions, terms with counts,
// chosen sentences with order keys). Numbers live in cells as text and are
// parsed again each time they are used.
//
// Rows are numbered from 0 in their current order; columns are fixed per
// table and named by their headers. Reads of a missing row give "", writes
// and deletions of a missing row do nothing. Cell access is O(1); DeleteRow
// is O(rows); SortByKey is O(rows log rows) plus one parse per row.

#ifndef QUILLET_TABLES_WORK_TABLE_H_
#define QUILLET_TABLES_WORK_TABLE_H_

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "text/gbk_text.h"

namespace quillet {

// Column numbers by header, shared by the three tables: column 0 holds the
// table's text ("句", "词" or "调整句"), column 1 is "a", column 2 is "b".
inline constexpr int kTextColumn = 0;
inline constexpr int kColumnA = 1;
inline constexpr int kColumnB = 2;

class WorkTable {
 public:
  explicit WorkTable(std::initializer_list<GbkText> headers);

  // The header texts; never read by the pipeline.
  const std::vector<GbkText>& headers() const { return headers_; }
  // Column number of a header, -1 if the table has no such column.
  int ColumnOf(const GbkText& header) const;

  // Appends a row with text in column 0 and "" elsewhere; returns its row
  // number, which equals RowCount() before the call.
  int InsertRow(const GbkText& text);

  // The cell's text; "" for a missing row or column and an unwritten cell.
  const GbkText& GetCell(int row, int column) const;

  // Replaces the cell's text; nothing for a missing row or column.
  void SetCell(int row, int column, const GbkText& text);

  // Removes the row, later rows move up by one; nothing for a missing row.
  void DeleteRow(int row);

  void DeleteAllRows();
  int RowCount() const;

  // Reorders the rows, largest key first, where a row's key is TextToInt
  // of its cell in key_column (the integer part of the text: «7.9» is 7,
  // «5e-005» is 5, «» is 0). Rows with equal keys keep their previous
  // order: the sort is stable. Which sentences fill a length limit and which
  // terms lead depend on this choice.
  void SortByKey(int key_column);

 private:
  std::vector<GbkText> headers_;
  std::vector<std::vector<GbkText>> rows_;
};

// The comparison behind SortByKey: TextToInt(second) - TextToInt(first),
// computed in double precision; negative puts the first row before the
// second.
int32_t CompareKeys(const GbkText& first_key, const GbkText& second_key);

}  // namespace quillet

#endif  // QUILLET_TABLES_WORK_TABLE_H_
