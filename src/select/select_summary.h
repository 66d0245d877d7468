// Summary selection: the best sentences within the length limit, in
// article order, written into the output field and cleaned.

#ifndef QUILLET_SELECT_SELECT_SUMMARY_H_
#define QUILLET_SELECT_SELECT_SUMMARY_H_

#include "workspace/workspace.h"

namespace quillet {

// The byte limit for a selection of the length list: 400, 600, 800, 1000
// for 0..3; any other selection gives 600 bytes for Chinese, 400 for
// English.
int LengthLimitBytes(int length_class, Language language);

// Sorts SentenceTable by score, fills SummaryTable with the chosen
// sentences in article order and writes the cleaned summary into the
// output field.
void SelectSummary(Workspace& ws, Language language);

}  // namespace quillet

#endif  // QUILLET_SELECT_SELECT_SUMMARY_H_
