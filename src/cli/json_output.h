// The JSON form of a finished run: the language, the summary, the status
// and keyword captions, and the three work tables row by row, every cell
// as its text exactly as the table holds it. Texts are converted from GBK
// to UTF-8 (a byte sequence that is not a GBK character becomes U+FFFD).
//
// The text is written straight into a string, without a document tree in
// between, in the JSON library's compact form (no blanks; '"', '\' and the
// control characters escaped, \u00XX in lower-case hex for those without a
// short form; all else as it is). Linear in the size of the workspace.

#ifndef QUILLET_CLI_JSON_OUTPUT_H_
#define QUILLET_CLI_JSON_OUTPUT_H_

#include <optional>
#include <string>
#include <string_view>

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
std::string WorkspaceJson(const Workspace& ws, std::optional<Language> language);

// The members of WorkspaceJson without the braces, appended to out, so that
// a caller can put members of its own around them.
void AppendWorkspaceJsonMembers(std::string& out, const Workspace& ws,
                                std::optional<Language> language);

// s, well-formed UTF-8, as a JSON string with its quotation marks, appended
// to out.
void AppendJsonString(std::string& out, std::string_view s);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_JSON_OUTPUT_H_
