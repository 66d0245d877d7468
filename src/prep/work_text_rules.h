// The one way the preparation stages rewrite WorkText with a rule list:
// every rule of the list, in order, as one ReplaceAll over the whole text.
// Cost: see rule_list.h; WorkText is rewritten in place.

#ifndef QUILLET_PREP_WORK_TEXT_RULES_H_
#define QUILLET_PREP_WORK_TEXT_RULES_H_

#include "workspace/workspace.h"
#include "text/rule_list.h"

namespace quillet {

// WorkText := WorkText with the rules applied one after the other.
inline void ApplyRulesToWorkText(Workspace& ws, RuleList rules) {
  ApplyRules(ws.WorkText, rules);
}

}  // namespace quillet

#endif  // QUILLET_PREP_WORK_TEXT_RULES_H_
