// Replacement rules and rule lists: the constant tables through which the
// sentence marking, the counting text, the title cleaning and the output
// clean-up of the summary rewrite a text.
//
// A rule is a (sought, replacement) pair of GBK byte strings; a rule list is
// applied rule after rule, each as one ReplaceAll over the whole text, in
// list order, repeated rules included. Cost: one linear pass per rule.

#ifndef QUILLET_TEXT_RULE_LIST_H_
#define QUILLET_TEXT_RULE_LIST_H_

#include <span>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet {

struct ReplacementRule {
  std::string_view sought;       // never empty
  std::string_view replacement;  // may be empty
};

using RuleList = std::span<const ReplacementRule>;

// text := text with every rule of rules applied in order, each to the
// result of the one before. An empty list leaves text as it is.
void ApplyRules(GbkText& text, RuleList rules);

}  // namespace quillet

#endif  // QUILLET_TEXT_RULE_LIST_H_
