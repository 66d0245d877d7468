// MarkSentences: the first stage of every run. Rewrites WorkText with the
// rule list of the language (ChineseMarkRules, 27 rules; EnglishMarkRules,
// 20 rules) so that every sentence end is followed by the sentence mark
// "〓" (A1 FE). Cost: one pass over the text per rule.

#ifndef QUILLET_PREP_MARK_SENTENCES_H_
#define QUILLET_PREP_MARK_SENTENCES_H_

#include "workspace/workspace.h"
#include "text/rule_list.h"

namespace quillet {

extern const RuleList ChineseMarkRules;
extern const RuleList EnglishMarkRules;

void MarkSentences(Workspace& ws, Language language);

}  // namespace quillet

#endif  // QUILLET_PREP_MARK_SENTENCES_H_
