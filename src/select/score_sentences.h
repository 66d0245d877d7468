// Sentence scoring: each sentence's score in column a of SentenceTable.

#ifndef QUILLET_SELECT_SCORE_SENTENCES_H_
#define QUILLET_SELECT_SCORE_SENTENCES_H_

#include "workspace/workspace.h"

namespace quillet {

// Adds to every sentence's score the count of each of the first six terms
// of TermTable that it contains, then divides it by the penalty rules of
// the language. Every change is one read-parse-compute-write of the cell.
void ScoreSentences(Workspace& ws, Language language);

}  // namespace quillet

#endif  // QUILLET_SELECT_SCORE_SENTENCES_H_
