// The options of quillet-cli and their parsing (CLI11).
//
//   quillet-cli [OPTIONS] [FILE...]
//
// Each FILE is an article file; "-" or none reads standard input. The title
// comes from --title or --title-file, or with --title-line from the first
// non-blank line of each article; --sample takes title and article from a
// built-in sample instead, and excludes all of these. The length class
// comes from --length-class, and --encoding names the encoding of every
// input (auto: found from its bytes) and whether the plain output is GBK.
// The files are summarised on --jobs threads. With --jsonl, the one FILE is
// a file of JSON lines, each holding its own title, article and length
// class (--length-class then gives the class of lines without one),
// summarised on --jobs threads. Parsing is linear in the arguments.

#ifndef QUILLET_CLI_CLI_OPTIONS_H_
#define QUILLET_CLI_CLI_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

#include "codec/encoding_detect.h"
#include "samples/samples.h"

namespace quillet::cli {

// The encoding of the inputs; the plain output is GBK for kGbk, else UTF-8.
using Encoding = TextEncoding;

struct CliOptions {
  std::vector<std::string> files = {"-"};  // "-" is standard input
  std::string title;                       // --title, as given
  std::optional<std::string> title_file;   // --title-file
  bool title_line = false;                 // --title-line
  std::optional<SampleName> sample;        // --sample
  int length_class = 0;                    // -1 for no item selected, 0..3
  Encoding encoding = Encoding::kAuto;
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
