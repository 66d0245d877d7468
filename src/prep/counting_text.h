// MakeCountingText: turns the rebuilt WorkText into the counting text, in
// which blanks are the only word boundary, with the rule list of the
// language (ChineseCountRules, 37 rules; EnglishCountRules, 67 rules).
// Cost: one pass over the text per rule.

#ifndef QUILLET_PREP_COUNTING_TEXT_H_
#define QUILLET_PREP_COUNTING_TEXT_H_

#include "workspace/workspace.h"
#include "text/rule_list.h"

namespace quillet {

extern const RuleList ChineseCountRules;
extern const RuleList EnglishCountRules;

void MakeCountingText(Workspace& ws, Language language);

}  // namespace quillet

#endif  // QUILLET_PREP_COUNTING_TEXT_H_
