#include "terms/title_boost.h"

#include "text/text_ops.h"

namespace quillet {

namespace {

// The title cleaning: punctuation and digits become blanks, runs of blanks
// are halved twice, "的" becomes a word boundary except in 的确, 标的 and 目的
// (with "〓" as a passing mark), and 改革 and 制度 are fenced with blanks.
constexpr ReplacementRule kTitleCleanRules[] = {
    {"\xA3\xAC", " "},                      //  1 ，
    {"\xA1\xA2", " "},                      //  2 、
    {"\xA1\xAD", " "},                      //  3 …
    {"\xA1\xB0", " "},                      //  4 “
    {"\xA1\xB1", " "},                      //  5 ”
    {"\xA3\xBA", " "},                      //  6 ：
    {"\xA3\xA1", " "},                      //  7 ！
    {"\xA1\xAE", " "},                      //  8 ‘
    {"\xA1\xAF", " "},                      //  9 ’
    {"\xA3\xA8", " "},                      // 10 （
    {"\xA3\xA9", " "},                      // 11 ）
    {"\xA3\xBB", " "},                      // 12 ；
    {"\xA3\xBF", " "},                      // 13 ？
    {",", " "},                             // 14 ,
    {"\xA1\xAA", " "},                      // 15 —
    {"0", " "},                             // 16 0
    {"1", " "},                             // 17 1
    {"2", " "},                             // 18 2
    {"3", " "},                             // 19 3
    {"4", " "},                             // 20 4
    {"5", " "},                             // 21 5
    {"6", " "},                             // 22 6
    {"7", " "},                             // 23 7
    {"8", " "},                             // 24 8
    {"9", " "},                             // 25 9
    {"\xA1\xA1 ", " "},                     // 26 ideographic space, blank
    {"  ", " "},                            // 27 two blanks
    {"  ", " "},                            // 28 two blanks
    {"\xB5\xC4", "\xA1\xFE"},               // 29 的 -> 〓
    {"\xA1\xFE\xC8\xB7", "\xB5\xC4\xC8\xB7"},  // 30 〓确 -> 的确
    {"\xB1\xEA\xA1\xFE", "\xB1\xEA\xB5\xC4"},  // 31 标〓 -> 标的
    {"\xC4\xBF\xA1\xFE", "\xC4\xBF\xB5\xC4"},  // 32 目〓 -> 目的
    {"\xA1\xFE", " "},                      // 33 〓
    {"\xB8\xC4\xB8\xEF", " \xB8\xC4\xB8\xEF "},  // 34 改革 -> " 改革 "
    {"\xD6\xC6\xB6\xC8", " \xD6\xC6\xB6\xC8 "},  // 35 制度 -> " 制度 "
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
