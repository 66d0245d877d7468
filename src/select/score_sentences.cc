#include "select/score_sentences.h"

namespace quillet {

// Will score every sentence by the leading terms and the penalty rules.
void ScoreSentences(Workspace&, Language) {}

}  // namespace quillet
