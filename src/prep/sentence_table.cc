#include "prep/sentence_table.h"

namespace quillet {

// Will cut WorkText at the sentence marks into SentenceTable.
void BuildSentenceTable(Workspace&) {}

// Will remove bracketed parts and short leading clauses.
void TrimSentences(Workspace&, Language) {}

// Will join the trimmed sentences into WorkText.
void RebuildWorkText(Workspace&) {}

}  // namespace quillet
