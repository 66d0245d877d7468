#include "text/rule_list.h"

#include "text/text_ops.h"

namespace quillet {

GbkText ApplyRules(const GbkText& t, RuleList rules) {
  GbkText result = t;
  for (const ReplacementRule& rule : rules) {
    result = ReplaceAll(result, GbkText(rule.sought), GbkText(rule.replacement));
  }
  return result;
}

}  // namespace quillet
