#include "workspace/workspace.h"

namespace quillet {

// Header texts in GBK: 句 BE E4, 词 B4 CA, 调整句 B5 F7 D5 FB BE E4.
Workspace::Workspace()
    : SentenceTable({"\xBE\xE4", "a", "b"}),
      TermTable({"\xB4\xCA", "a"}),
      SummaryTable({"\xB5\xF7\xD5\xFB\xBE\xE4", "a"}) {}

}  // namespace quillet
