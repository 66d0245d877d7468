#include "terms/title_boost.h"

namespace quillet {

const RuleList TitleCleanRules;

// Will double the counts of the terms found in the cleaned title.
void BoostTitleTerms(Workspace&) {}

}  // namespace quillet
