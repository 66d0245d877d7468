#include "terms/english_words.h"

namespace quillet {

// Will count the reduced words of the counting text.
void CountEnglishWords(Workspace&) {}

}  // namespace quillet
