#include "prep/counting_text.h"

namespace quillet {

const RuleList ChineseCountRules;
const RuleList EnglishCountRules;

// Will rewrite WorkText into the counting text of the language.
void MakeCountingText(Workspace&, Language) {}

}  // namespace quillet
