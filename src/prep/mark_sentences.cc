#include "prep/mark_sentences.h"

namespace quillet {

const RuleList ChineseMarkRules;
const RuleList EnglishMarkRules;

// Will rewrite WorkText with the mark rules of the language.
void MarkSentences(Workspace&, Language) {}

}  // namespace quillet
