// The plain English word counting, kept as the reference that the fast one
// in src/terms is compared with: each word is compared with every word
// after it, so the count costs the square of the number of words, and
// ProcessEvents is called twice per word. Same contract as
// terms/english_words.h.

#ifndef QUILLET_TESTS_REFERENCE_ENGLISH_WORDS_H_
#define QUILLET_TESTS_REFERENCE_ENGLISH_WORDS_H_

#include "workspace/workspace.h"

namespace quillet::reference {

// Fills TermTable with the reduced words of 3 or more bytes that occur 3 or
// more times, sorted by count, and writes the keywords. WorkText is not
// changed.
void CountEnglishWords(Workspace& ws);

}  // namespace quillet::reference

#endif  // QUILLET_TESTS_REFERENCE_ENGLISH_WORDS_H_
