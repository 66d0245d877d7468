#include "tables/work_table.h"

#include <algorithm>

#include "text/text_ops.h"

namespace quillet {

namespace {
const GbkText kEmpty;
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
  // The keys are parsed once, before any row moves; a row then carries its
  // parsed key with it, as the list control's item value would. Two keys
  // are 32-bit integers, so the sign of CompareKeys, a difference taken in
  // double precision, is exactly whether the second key is the smaller:
  // the sort is by key, largest first, on (key, row number) pairs, and the
  // rows move once at the end.
  struct Keyed {
    int32_t key;
    int row;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(rows_.size());
  for (int r = 0; r < RowCount(); ++r) {
    keyed.push_back({TextToInt(GetCell(r, key_column)), r});
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const Keyed& first, const Keyed& second) {
                     return first.key > second.key;
                   });
  std::vector<std::vector<GbkText>> sorted;
  sorted.reserve(rows_.size());
  for (const Keyed& k : keyed) sorted.push_back(std::move(rows_[k.row]));
  rows_ = std::move(sorted);
}

int32_t CompareKeys(const GbkText& first_key, const GbkText& second_key) {
  return DoubleToInt(static_cast<double>(TextToInt(second_key)) -
                     static_cast<double>(TextToInt(first_key)));
}

}  // namespace quillet
