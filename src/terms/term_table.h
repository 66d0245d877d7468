// What the two term stages, Chinese terms and English words, share: the
// least number of occurrences that makes a row of TermTable, and the
// keyword line written from the leading rows of the sorted table. Writing
// the line reads three rows.

#ifndef QUILLET_TERMS_TERM_TABLE_H_
#define QUILLET_TERMS_TERM_TABLE_H_

#include "text/gbk_text.h"
#include "workspace/workspace.h"

namespace quillet {

// A run or word that occurs fewer times never becomes a row.
constexpr int kLeastOccurrences = 3;

// The keyword line shows the terms of rows 0 .. kKeywordCount - 1.
constexpr int kKeywordCount = 3;

// keywords := "关键词： " followed by the term of each of the first three
// rows and a blank; a missing row reads as the empty term and still gives
// its blank.
void WriteKeywords(Workspace& ws);

// As WriteKeywords, but a term that FindText (letter case ignored) does not
// find in text is left out together with its blank. The empty term of a
// missing row is found in any non-empty text and in no empty one.
void WriteKeywordsFoundIn(Workspace& ws, const GbkText& text);

}  // namespace quillet

#endif  // QUILLET_TERMS_TERM_TABLE_H_
