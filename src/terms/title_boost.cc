#include "terms/title_boost.h"

#include "text/text_ops.h"

namespace quillet {

namespace {

// The title cleaning, one row per rule in the order they are applied:
// punctuation and digits become blanks, runs of blanks are halved twice
// (the repeated row is meant), "的" becomes a word boundary except in 的确,
// 标的 and 目的 (with "〓" as a passing mark), and 改革 and 制度 are fenced
// with blanks. Each row gives the sought text and its replacement as GBK
// bytes; the comment shows them as text, ␣ for a blank.
constexpr ReplacementRule kTitleCleanRules[] = {
    {"\xA3\xAC", "\x20"},                              //  1  ， -> ␣
    {"\xA1\xA2", "\x20"},                              //  2  、 -> ␣
    {"\xA1\xAD", "\x20"},                              //  3  … -> ␣
    {"\xA1\xB0", "\x20"},                              //  4  “ -> ␣
    {"\xA1\xB1", "\x20"},                              //  5  ” -> ␣
    {"\xA3\xBA", "\x20"},                              //  6  ： -> ␣
    {"\xA3\xA1", "\x20"},                              //  7  ！ -> ␣
    {"\xA1\xAE", "\x20"},                              //  8  ‘ -> ␣
    {"\xA1\xAF", "\x20"},                              //  9  ’ -> ␣
    {"\xA3\xA8", "\x20"},                              // 10  （ -> ␣
    {"\xA3\xA9", "\x20"},                              // 11  ） -> ␣
    {"\xA3\xBB", "\x20"},                              // 12  ； -> ␣
    {"\xA3\xBF", "\x20"},                              // 13  ？ -> ␣
    {"\x2C", "\x20"},                                  // 14  , -> ␣
    {"\xA1\xAA", "\x20"},                              // 15  — -> ␣
    {"\x30", "\x20"},                                  // 16  0 -> ␣
    {"\x31", "\x20"},                                  // 17  1 -> ␣
    {"\x32", "\x20"},                                  // 18  2 -> ␣
    {"\x33", "\x20"},                                  // 19  3 -> ␣
    {"\x34", "\x20"},                                  // 20  4 -> ␣
    {"\x35", "\x20"},                                  // 21  5 -> ␣
    {"\x36", "\x20"},                                  // 22  6 -> ␣
    {"\x37", "\x20"},                                  // 23  7 -> ␣
    {"\x38", "\x20"},                                  // 24  8 -> ␣
    {"\x39", "\x20"},                                  // 25  9 -> ␣
    {"\xA1\xA1\x20", "\x20"},                          // 26  ideographic space ␣ -> ␣
    {"\x20\x20", "\x20"},                              // 27  ␣␣ -> ␣
    {"\x20\x20", "\x20"},                              // 28  ␣␣ -> ␣
    {"\xB5\xC4", "\xA1\xFE"},                          // 29  的 -> 〓
    {"\xA1\xFE\xC8\xB7", "\xB5\xC4\xC8\xB7"},          // 30  〓确 -> 的确
    {"\xB1\xEA\xA1\xFE", "\xB1\xEA\xB5\xC4"},          // 31  标〓 -> 标的
    {"\xC4\xBF\xA1\xFE", "\xC4\xBF\xB5\xC4"},          // 32  目〓 -> 目的
    {"\xA1\xFE", "\x20"},                              // 33  〓 -> ␣
    {"\xB8\xC4\xB8\xEF", "\x20\xB8\xC4\xB8\xEF\x20"},  // 34  改革 -> ␣改革␣
    {"\xD6\xC6\xB6\xC8", "\x20\xD6\xC6\xB6\xC8\x20"},  // 35  制度 -> ␣制度␣
};

}  // namespace

const RuleList TitleCleanRules = kTitleCleanRules;

void BoostTitleTerms(Workspace& ws) {
  ws.WorkText = ws.fields.title;
  ApplyRules(ws.WorkText, TitleCleanRules);
  const int n = ws.TermTable.RowCount();
  for (int i = 0; i < n; ++i) {
    // Found anywhere in the title, letter case ignored; doubled once however
    // often it occurs there.
    if (FindText(ws.WorkText, ws.TermTable.GetCell(i, kTextColumn)) != -1) {
      const double doubled = TextToNumber(ws.TermTable.GetCell(i, kColumnA)) * 2;
      ws.TermTable.SetCell(i, kColumnA, NumberToText(doubled));
    }
  }
  ws.TermTable.SortByKey(kColumnA);
}

}  // namespace quillet
