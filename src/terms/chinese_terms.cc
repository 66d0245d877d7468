#include "terms/chinese_terms.h"

namespace quillet {

// Will split WorkText into its characters.
void BuildCharList(Workspace&) {}

// Will find the recurring character runs.
void ExtractChineseTerms(Workspace&) {}

}  // namespace quillet
