// The JSON form of a finished run: the language, the summary, the status
// and keyword captions, and the three work tables row by row, every cell
// as its text exactly as the table holds it. Texts are converted from GBK
// to UTF-8 (a byte sequence that is not a GBK character becomes U+FFFD).
// Linear in the size of the workspace.

#ifndef QUILLET_CLI_JSON_OUTPUT_H_
#define QUILLET_CLI_JSON_OUTPUT_H_

#include <nlohmann/json.hpp>

#include <optional>

#include "workspace/workspace.h"

namespace quillet::cli {

// One object with the members, in this order:
//   language      "chinese", "english" or null
//   summary       the output field
//   status        the status caption
//   keywords      the keyword caption
//   sentences     rows of SentenceTable, each [text, a, b]
//   terms         rows of TermTable, each [term, a]
//   summary_rows  rows of SummaryTable, each [text, a]
nlohmann::ordered_json WorkspaceJson(const Workspace& ws,
                                     std::optional<Language> language);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_JSON_OUTPUT_H_
