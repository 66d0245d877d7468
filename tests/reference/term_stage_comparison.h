// The fast term statistics of src/terms held to the plain ones of this
// folder: both run on the same counting text, each on a workspace of its
// own, and everything they leave behind is compared. Shared by the
// differential test and the fuzz target of the term statistics. Costs one
// run of each version; the plain one grows with the square of the text.

#ifndef QUILLET_TESTS_REFERENCE_TERM_STAGE_COMPARISON_H_
#define QUILLET_TESTS_REFERENCE_TERM_STAGE_COMPARISON_H_

#include <optional>
#include <string>

#include "workspace/workspace.h"

namespace quillet::reference {

// Runs the term statistics of language on counting_text, fast and plain
// (Chinese: BuildCharList, then ExtractChineseTerms; English:
// CountEnglishWords), each on a workspace whose TermTable holds a stale row
// and whose status is not yet written. Compares the rows of TermTable,
// WorkText, CharList, the status and keyword captions, and, for Chinese,
// the status captions the window saw in turn (the English stages write
// theirs once, after the plain version last yields, so those are not
// compared). Returns nullopt when the two agree, otherwise a readable
// report: the text (UTF-8 and hex bytes) and both outcomes.
std::optional<std::string> CompareTermStages(const GbkText& counting_text,
                                             Language language);

}  // namespace quillet::reference

#endif  // QUILLET_TESTS_REFERENCE_TERM_STAGE_COMPARISON_H_
