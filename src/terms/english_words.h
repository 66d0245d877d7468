// English word counting: the words of the counting text reduced by six
// suffix rules and counted.
//
// One pass over the text with a hash count, linear in its length;
// ProcessEvents is called about every 20 ms of work and once at the end of
// the count.

#ifndef QUILLET_TERMS_ENGLISH_WORDS_H_
#define QUILLET_TERMS_ENGLISH_WORDS_H_

#include "workspace/workspace.h"

namespace quillet {

// Fills TermTable with the reduced words of 3 or more bytes that occur 3 or
// more times, sorted by count (rows of equal count in the order of first
// occurrence), and writes the keywords; the status becomes "0%". WorkText
// is not changed.
void CountEnglishWords(Workspace& ws);

}  // namespace quillet

#endif  // QUILLET_TERMS_ENGLISH_WORDS_H_
