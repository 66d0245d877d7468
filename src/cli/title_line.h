// The headline of an article file as its title (--title-line, and the
// member "title_line" of a --jsonl line). Linear in the text.

#ifndef QUILLET_CLI_TITLE_LINE_H_
#define QUILLET_CLI_TITLE_LINE_H_

#include "text/gbk_text.h"

namespace quillet::cli {

struct TitledArticle {
  GbkText title;
  GbkText article;
};

// Splits a field text (GBK, line breaks CR LF) at its first line that holds
// more than blanks (spaces, tabs, full-width spaces): that line, without
// the blanks at either end, is the title; the article is all that follows
// the line's CR LF, blank lines after it included. So the summary is the
// same as that of the rest given with the headline as the title. A text
// without such a line is all article, with an empty title.
TitledArticle SplitTitleLine(const GbkText& text);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_TITLE_LINE_H_
