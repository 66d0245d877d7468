// The sentence table: the marked WorkText cut into distinct candidate
// sentences, their trimming, and WorkText joined again from them.

#ifndef QUILLET_PREP_SENTENCE_TABLE_H_
#define QUILLET_PREP_SENTENCE_TABLE_H_

#include "workspace/workspace.h"

namespace quillet {

// Empties SentenceTable and fills it with the pieces of WorkText between
// sentence marks that are 15 bytes or longer, later copies of a piece
// dropped; column a is "1", column b the row's own number. WorkText is not
// changed.
void BuildSentenceTable(Workspace& ws);

// Removes bracketed parts and a short leading clause from every row's
// sentence. Rows are never added or removed.
void TrimSentences(Workspace& ws, Language language);

// WorkText := the sentences of all rows joined with nothing between them.
void RebuildWorkText(Workspace& ws);

}  // namespace quillet

#endif  // QUILLET_PREP_SENTENCE_TABLE_H_
