// The title boost: terms that occur in the cleaned title count double.

#ifndef QUILLET_TERMS_TITLE_BOOST_H_
#define QUILLET_TERMS_TITLE_BOOST_H_

#include "workspace/workspace.h"
#include "text/rule_list.h"

namespace quillet {

extern const RuleList TitleCleanRules;  // 35 rules, both languages

// WorkText := the title cleaned with TitleCleanRules; every term of
// TermTable found in it has its count doubled once; TermTable sorted again.
void BoostTitleTerms(Workspace& ws);

}  // namespace quillet

#endif  // QUILLET_TERMS_TITLE_BOOST_H_
