// English word counting: the words of the counting text reduced by six
// suffix rules and counted.

#ifndef QUILLET_TERMS_ENGLISH_WORDS_H_
#define QUILLET_TERMS_ENGLISH_WORDS_H_

#include "tables/workspace.h"

namespace quillet {

// Fills TermTable with the reduced words of 3 or more bytes that occur 3 or
// more times, sorted by count, and writes the keywords. WorkText is not
// changed.
void CountEnglishWords(Workspace& ws);

}  // namespace quillet

#endif  // QUILLET_TERMS_ENGLISH_WORDS_H_
