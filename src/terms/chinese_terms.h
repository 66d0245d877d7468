// Chinese term extraction: the recurring runs of 17 down to 2 characters of
// the counting text, without a dictionary.
//
// Each of the sixteen passes groups the runs of the text by content and
// counts each distinct run once, so a pass is linear in the text; the
// containment merge looks up the stretches of each term, at most 153 per
// term. ProcessEvents is called at the end of every pass and about every
// 20 ms of work in between. The results (TermTable, WorkText, CharList,
// captions) are those of the plain algorithm that counts every window by
// splitting the whole text; chinese_terms.cc says why.

#ifndef QUILLET_TERMS_CHINESE_TERMS_H_
#define QUILLET_TERMS_CHINESE_TERMS_H_

#include "workspace/workspace.h"

namespace quillet {

// CharList := the characters of WorkText: a byte 0x80 or above starts a
// two-byte element with the byte after it; a final such byte with nothing
// after it is a one-byte element; every other byte is a one-byte element.
void BuildCharList(Workspace& ws);

// Fills TermTable with the runs that occur three times or more (each
// blanked out of WorkText once found), merges contained terms, drops terms
// holding "这个", sorts by count and writes the keywords; the status shows
// the progress of the sixteen passes ("6%" .. "100%").
//
// Works from CharList, which must have been built from the current
// WorkText (BuildCharList, as Summarize does just before). When terms were
// found it rewrites WorkText and builds CharList again, once, so that on
// return CharList matches WorkText.
void ExtractChineseTerms(Workspace& ws);

}  // namespace quillet

#endif  // QUILLET_TERMS_CHINESE_TERMS_H_
