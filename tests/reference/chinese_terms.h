// The plain Chinese term extraction, kept as the reference that the fast
// one in src/terms is compared with: every window of every pass is formed
// and counted by splitting the whole text, so a pass costs the square of
// the text length and the merge visits every pair of terms. It calls
// ProcessEvents after every window, candidate, merge pair and examined row.
// Same contracts as terms/chinese_terms.h.

#ifndef QUILLET_TESTS_REFERENCE_CHINESE_TERMS_H_
#define QUILLET_TESTS_REFERENCE_CHINESE_TERMS_H_

#include "workspace/workspace.h"

namespace quillet::reference {

// CharList := the characters of WorkText: a byte 0x80 or above starts a
// two-byte element with the byte after it; a final such byte with nothing
// after it is a one-byte element; every other byte is a one-byte element.
void BuildCharList(Workspace& ws);

// Fills TermTable with the runs that occur three times or more (each
// blanked out of WorkText once found), merges contained terms, drops terms
// holding "这个", sorts by count and writes the keywords; the status shows
// the progress of the sixteen passes. Expects CharList built from WorkText.
void ExtractChineseTerms(Workspace& ws);

}  // namespace quillet::reference

#endif  // QUILLET_TESTS_REFERENCE_CHINESE_TERMS_H_
