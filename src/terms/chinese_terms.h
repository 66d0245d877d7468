// Chinese term extraction: the recurring runs of 17 down to 2 characters of
// the counting text, without a dictionary.

#ifndef QUILLET_TERMS_CHINESE_TERMS_H_
#define QUILLET_TERMS_CHINESE_TERMS_H_

#include "tables/workspace.h"

namespace quillet {

// CharList := the characters of WorkText: a byte 0x80 or above starts a
// two-byte element with the byte after it; a final such byte with nothing
// after it is a one-byte element; every other byte is a one-byte element.
void BuildCharList(Workspace& ws);

// Fills TermTable with the runs that occur three times or more (each
// blanked out of WorkText once found), merges contained terms, drops terms
// holding "这个", sorts by count and writes the keywords; the status shows
// the progress of the sixteen passes. Expects CharList built from WorkText.
void ExtractChineseTerms(Workspace& ws);

}  // namespace quillet

#endif  // QUILLET_TERMS_CHINESE_TERMS_H_
