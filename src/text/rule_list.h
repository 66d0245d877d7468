// Replacement rules and rule lists: the constant tables through which the
// sentence marking, the counting text, the title cleaning and the output
// clean-up of the summary rewrite a text.
//
// A rule is a (sought, replacement) pair of GBK byte strings; a rule list is
// applied rule after rule, each as one ReplaceAll over the whole text, in
// list order, repeated rules included.
//
// Cost: the text is rewritten in place, in two buffers at most, whatever
// the number of rules. One scan first records which bytes and byte pairs
// occur; a rule whose sought text holds a byte or a pair that cannot occur
// is passed over without a scan, a rule that finds nothing costs one scan
// and no copy, a rule whose replacement is not longer than its sought text
// rewrites in place, and a run of rules that each turn one ASCII byte into
// another is one walk over the text.

#ifndef QUILLET_TEXT_RULE_LIST_H_
#define QUILLET_TEXT_RULE_LIST_H_

#include <span>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet {

struct ReplacementRule {
  std::string_view sought;       // never empty, never holds 0x00
  std::string_view replacement;  // may be empty, never holds 0x00
};

using RuleList = std::span<const ReplacementRule>;

// Rewrites text with every rule of rules in order, each on the result of
// the one before: the same bytes as text = ReplaceAll(text, sought,
// replacement) rule by rule.
void ApplyRules(GbkText& text, RuleList rules);

}  // namespace quillet

#endif  // QUILLET_TEXT_RULE_LIST_H_
