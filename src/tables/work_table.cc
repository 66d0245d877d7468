#include "tables/work_table.h"

#include <algorithm>

#include "text/text_ops.h"

namespace quillet {

namespace {

const GbkText kEmpty;

// CompareKeys on keys already parsed with TextToInt: second - first in
// double precision, which is exact for 32-bit integers, saturated.
int32_t CompareParsedKeys(int32_t first_key, int32_t second_key) {
  return DoubleToInt(static_cast<double>(second_key) -
                     static_cast<double>(first_key));
}

}  // namespace

WorkTable::WorkTable(std::initializer_list<GbkText> headers)
    : headers_(headers) {}

int WorkTable::ColumnOf(const GbkText& header) const {
  for (std::size_t c = 0; c < headers_.size(); ++c) {
    if (headers_[c] == header) return static_cast<int>(c);
  }
  return -1;
}

int WorkTable::InsertRow(const GbkText& text) {
  std::vector<GbkText> row(headers_.size());
  row[0] = text;
  rows_.push_back(std::move(row));
  return static_cast<int>(rows_.size()) - 1;
}

const GbkText& WorkTable::GetCell(int row, int column) const {
  if (row < 0 || row >= RowCount()) return kEmpty;
  if (column < 0 || column >= static_cast<int>(headers_.size())) return kEmpty;
  return rows_[row][column];
}

void WorkTable::SetCell(int row, int column, const GbkText& text) {
  if (row < 0 || row >= RowCount()) return;
  if (column < 0 || column >= static_cast<int>(headers_.size())) return;
  rows_[row][column] = text;
}

void WorkTable::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(rows_.begin() + row);
}

void WorkTable::DeleteAllRows() { rows_.clear(); }

int WorkTable::RowCount() const { return static_cast<int>(rows_.size()); }

void WorkTable::SortByKey(int key_column) {
  // Each key is parsed once, before any row moves; a row then carries its
  // parsed key with it, as the list control's item value would, and the
  // comparisons read only the parsed keys.
  struct Keyed {
    int32_t key;
    std::vector<GbkText> row;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(rows_.size());
  for (int r = 0; r < RowCount(); ++r) {
    keyed.push_back({TextToInt(GetCell(r, key_column)), std::move(rows_[r])});
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const Keyed& first, const Keyed& second) {
                     return CompareParsedKeys(first.key, second.key) < 0;
                   });
  for (std::size_t r = 0; r < keyed.size(); ++r) {
    rows_[r] = std::move(keyed[r].row);
  }
}

int32_t CompareKeys(const GbkText& first_key, const GbkText& second_key) {
  return CompareParsedKeys(TextToInt(first_key), TextToInt(second_key));
}

}  // namespace quillet
