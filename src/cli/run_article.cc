#include "cli/run_article.h"

#include "pipeline/summarize.h"

namespace quillet::cli {

std::optional<Language> RunArticle(const ArticleInput& input, Workspace& ws) {
  ws.fields.title = input.title;
  ws.fields.content = input.article;
  ws.fields.length_class = input.length_class;
  return Summarize(ws);
}

}  // namespace quillet::cli
