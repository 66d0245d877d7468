// One line of a --jsonl batch: a JSON object with the member "article" (a
// string) and the optional members "title" (a string), "length_class" (an
// integer from -1 to 3) and "title_line" (true: the title is the article's
// first non-blank line, cut from it as --title-line does) goes in; one JSON
// result line comes out. Costs
// one summary run of the article, on a workspace of its own, so that lines
// may be summarised on separate threads.

#ifndef QUILLET_CLI_JSONL_LINE_H_
#define QUILLET_CLI_JSONL_LINE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::cli {

// The result of the input line numbered number (from 1), without a line
// break: {"line": number, then the members of the --json object, then
// "replaced": the count of characters that GBK cannot hold, each made "?"}.
// Texts go into the fields as in the plain mode: every line break becomes
// CR LF. A missing "length_class" takes default_length_class, other
// members are ignored. A line that is blank, not JSON, not an object,
// without "article", with a member of the wrong type or value, with a text
// holding U+0000, or with both "title" and "title_line": true gives
// JsonlErrorLine instead. A U+FEFF at the start of a text is dropped.
std::string SummarizeJsonLine(std::string_view line, std::size_t number,
                              int default_length_class);

// {"line": number, "error": message}, without a line break.
std::string JsonlErrorLine(std::size_t number, const std::string& message);

// The result line of an input line of length bytes, as a batch writes it:
// SummarizeJsonLine of line, or the error line of a line over
// kMaxInputBytes (whose text need not be kept: line may then be empty), or
// of a run that failed ("internal error: ..."). A byte-order mark before
// the first line (number 1), as editors on Windows write one, is dropped.
// Never throws.
std::string JsonlResultLine(std::string_view line, std::size_t length,
                            std::size_t number, int default_length_class);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_JSONL_LINE_H_
