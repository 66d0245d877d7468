#include "terms/term_table.h"

#include "text/text_ops.h"

namespace quillet {

namespace {

const GbkText kKeywordsCaption = "\xB9\xD8\xBC\xFC\xB4\xCA\xA3\xBA\x20";  // 关键词：␣
const GbkText kBlank = "\x20";

// The caption and the terms of the leading rows that `shown` accepts, each
// followed by a blank.
template <typename Shown>
void WriteKeywordsIf(Workspace& ws, Shown shown) {
  ws.fields.keywords = kKeywordsCaption;
  for (int row = 0; row < kKeywordCount; ++row) {
    const GbkText& term = ws.TermTable.GetCell(row, kTextColumn);
    if (shown(term)) {
      ws.fields.keywords = ConcatText(ws.fields.keywords, term, kBlank);
    }
  }
}

}  // namespace

void WriteKeywords(Workspace& ws) {
  WriteKeywordsIf(ws, [](const GbkText&) { return true; });
}

void WriteKeywordsFoundIn(Workspace& ws, const GbkText& text) {
  WriteKeywordsIf(ws, [&](const GbkText& term) { return FindText(text, term) != -1; });
}

}  // namespace quillet
