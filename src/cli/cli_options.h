// The options of quillet-cli and their parsing (CLI11).
//
//   quillet-cli [OPTIONS] [ARTICLE]
//
// ARTICLE is the article file; "-" or none reads standard input. The title
// comes from --title or --title-file; --sample takes title and article from
// a built-in sample instead, and excludes all three. The length class from
// --length-class, and --encoding names the encoding of every input and of
// the plain output. With --jsonl, ARTICLE is a file of JSON lines, each
// holding its own title, article and length class (--length-class then
// gives the class of lines without one), summarised on --jobs threads.
// Parsing is linear in the arguments.

#ifndef QUILLET_CLI_CLI_OPTIONS_H_
#define QUILLET_CLI_CLI_OPTIONS_H_

#include <optional>
#include <string>

#include "samples/samples.h"

namespace quillet::cli {

enum class Encoding { kUtf8, kGbk };

struct CliOptions {
  std::string article_path = "-";         // "-" is standard input
  std::string title;                       // --title, as given
  std::optional<std::string> title_file;   // --title-file
  std::optional<SampleName> sample;        // --sample
  int length_class = 0;                    // -1 for no item selected, 0..3
  Encoding encoding = Encoding::kUtf8;
  bool json = false;
  bool jsonl = false;                      // --jsonl: a batch of JSON lines
  int jobs = 0;                            // --jobs; 0 for one per core

  bool operator==(const CliOptions&) const = default;
};

// What parsing the command line came to: options to run with, or a text
// to print and the exit status to end with (help and version on standard
// output with status 0; a usage error as one line for standard error with
// status 2).
struct ParseOutcome {
  std::optional<CliOptions> options;
  std::string output;
  std::string error;
  int exit_status = 0;
};

ParseOutcome ParseCliOptions(int argc, const char* const* argv);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_CLI_OPTIONS_H_
