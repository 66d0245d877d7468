// The driver of a summary run, and the only part of the core that calls the
// stages (prep/, terms/, select/): Summarize loads the article from the
// content field into WorkText, empties the output field, chooses the
// language from the article, runs the stages of that language in order and
// writes the length status. PrepareCountingText runs the preparation stages
// alone, for the tests and benchmarks that start at the term statistics.
// Cost: that of the stages run.

#ifndef QUILLET_PIPELINE_SUMMARIZE_H_
#define QUILLET_PIPELINE_SUMMARIZE_H_

#include <optional>

#include "workspace/workspace.h"

namespace quillet {

// The language of an article: Chinese if it holds "的" (B5 C4), otherwise
// English if it holds an "e" in either case, otherwise none.
std::optional<Language> ChooseLanguage(const GbkText& article);

// Runs the preparation stages of language over WorkText as a summary run
// does: marks the sentence ends, fills SentenceTable, trims its rows and
// rebuilds WorkText from them, and makes WorkText the counting text that
// the term statistics read. Calls ws.ProcessEvents() after each of these
// four steps.
void PrepareCountingText(Workspace& ws, Language language);

// Runs one summary over ws. An article of neither language stops the run
// after the output field has been emptied: the status, the tables and the
// rest stay as they were. Calls ws.ProcessEvents() between stages, besides
// the calls the term statistics make. Returns the language taken, if any.
std::optional<Language> Summarize(Workspace& ws);

// Writes "原文" N "字，摘要" M "字" into the status field, N and M being the
// byte lengths of the content and output fields, halved (rounded down by
// FloorToInt) for Chinese.
void ReportLengths(Workspace& ws, Language language);

}  // namespace quillet

#endif  // QUILLET_PIPELINE_SUMMARIZE_H_
