#include "text/rule_list.h"

#include "text/text_ops.h"

namespace quillet {

void ApplyRules(GbkText& text, RuleList rules) {
  for (const ReplacementRule& rule : rules) {
    text = ReplaceAll(text, GbkText(rule.sought), GbkText(rule.replacement));
  }
}

}  // namespace quillet
