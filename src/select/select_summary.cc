#include "select/select_summary.h"

#include <iterator>

#include "text/rule_list.h"
#include "text/text_ops.h"

namespace quillet {

namespace {

struct LengthClass {
  int chinese_bytes;  // twice the character limit of the list item
  int english_bytes;
};

// The four items of the length list, "<200字 英文x2" to "<500字 英文x2".
constexpr LengthClass kLengthClasses[] = {
    {400, 400},
    {600, 600},
    {800, 800},
    {1000, 1000},
};

// No item selected, or a selection outside the list.
constexpr LengthClass kUnselected = {600, 400};

// The output clean-up, one row per rule in the order they are applied: the
// summary loses its double quotation marks, and a clause ended by "；"
// stands as a sentence of its own. Each row gives the sought text and its
// replacement as GBK bytes; the comment shows them as text.
constexpr ReplacementRule kOutputCleanupRules[] = {
    {"\xA1\xB0", ""},          // 1  “ -> (nothing)
    {"\xA1\xB1", ""},          // 2  ” -> (nothing)
    {"\x22", ""},              // 3  " -> (nothing)
    {"\xA3\xBB", "\xA1\xA3"},  // 4  ； -> 。
};

// The sentence order key: 999999 for position 0, falling with the
// position, so that a largest-first sort restores article order.
constexpr double kOrderKeyBase = 999999;

// True when a joined text of length bytes no longer fits. The Chinese test
// is the double-precision comparison with a small tolerance; for whole
// numbers it is length > limit_bytes, as the English test.
bool Overflows(int length, int limit_bytes, Language language) {
  if (language == Language::kChinese) {
    return static_cast<double>(length) - limit_bytes > 0.0000001;
  }
  return length > limit_bytes;
}

// How many of the best sentences, taken in score order, fit the limit
// together; the first that overflows ends the choice. At least one.
int CountChosen(const WorkTable& sentences, int limit_bytes,
                Language language) {
  GbkText joined;
  int chosen = 0;
  const int rows = sentences.RowCount();
  for (int m = 0; m < rows; ++m) {
    ++chosen;
    joined.Append(sentences.GetCell(m, kTextColumn));
    if (Overflows(TextLength(joined), limit_bytes, language)) {
      --chosen;
      break;
    }
  }
  // A best sentence longer than the limit is the summary all the same; an
  // empty table yields one empty row.
  return chosen == 0 ? 1 : chosen;
}

void FillSummaryTable(Workspace& ws, int chosen) {
  ws.SummaryTable.DeleteAllRows();
  for (int r = 0; r < chosen; ++r) {
    const int row =
        ws.SummaryTable.InsertRow(ws.SentenceTable.GetCell(r, kTextColumn));
    const double position = TextToNumber(ws.SentenceTable.GetCell(r, kColumnB));
    ws.SummaryTable.SetCell(row, kColumnA, NumberToText(kOrderKeyBase - position));
  }
}

// The chosen sentences joined in article order, then cleaned.
void WriteOutput(Workspace& ws) {
  ws.fields.output = GbkText();
  ws.SummaryTable.SortByKey(kColumnA);
  const int rows = ws.SummaryTable.RowCount();
  for (int r = 0; r < rows; ++r) {
    ws.fields.output =
        ConcatText(ws.fields.output, ws.SummaryTable.GetCell(r, kTextColumn));
  }
  // Each rule reads the whole output and writes it back.
  ApplyRules(ws.fields.output, kOutputCleanupRules);
}

}  // namespace

int LengthLimitBytes(int length_class, Language language) {
  const LengthClass& limits =
      length_class >= 0 && length_class < static_cast<int>(std::size(kLengthClasses))
          ? kLengthClasses[length_class]
          : kUnselected;
  return language == Language::kChinese ? limits.chinese_bytes
                                        : limits.english_bytes;
}

void SelectSummary(Workspace& ws, Language language) {
  ws.SentenceTable.SortByKey(kColumnA);
  const int limit_bytes = LengthLimitBytes(ws.fields.length_class, language);
  FillSummaryTable(ws, CountChosen(ws.SentenceTable, limit_bytes, language));
  WriteOutput(ws);
}

}  // namespace quillet
