// One summary run of the command line: the title, the article and the
// length class go into a workspace's fields, as the window would hold
// them, and Summarize runs over it. Costs what Summarize costs.

#ifndef QUILLET_CLI_RUN_ARTICLE_H_
#define QUILLET_CLI_RUN_ARTICLE_H_

#include <optional>

#include "workspace/workspace.h"
#include "text/gbk_text.h"

namespace quillet::cli {

struct ArticleInput {
  GbkText title;        // field text: GBK, line breaks CR LF
  GbkText article;      // field text
  int length_class = 0; // -1 for no item selected, 0..3
};

// Fills the title, content and length class of ws and summarises. Returns
// the language taken; nullopt for an article of neither language, which
// leaves the output field empty.
std::optional<Language> RunArticle(const ArticleInput& input, Workspace& ws);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_RUN_ARTICLE_H_
