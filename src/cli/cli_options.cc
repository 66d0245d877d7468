#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

namespace quillet::cli {

namespace {

// Exit status of every usage error.
constexpr int kUsageError = 2;

// More threads than this only cost memory.
constexpr int kMaxJobs = 1024;

const std::map<std::string, Encoding> kEncodings = {
    {"auto", Encoding::kAuto},
    {"utf-8", Encoding::kUtf8},
    {"utf8", Encoding::kUtf8},
    {"gbk", Encoding::kGbk},
    {"cp936", Encoding::kGbk},
    {"gb18030", Encoding::kGb18030},
    {"utf-16", Encoding::kUtf16},
    {"utf16", Encoding::kUtf16},
};

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Accepts what names a known encoding, in any letter case.
const CLI::Validator kEncodingName(
    [](std::string& value) -> std::string {
      if (kEncodings.count(Lower(value)) != 0) return "";
      return "unknown encoding '" + value + "': use auto, utf-8, gbk, gb18030 or utf-16";
    },
    "", "encoding");

// The selections of the length list: -1 for none, 0 to 3 for its items.
const CLI::Validator kLengthClass(
    [](std::string& value) -> std::string {
      for (const char* valid : {"-1", "0", "1", "2", "3"}) {
        if (value == valid) return "";
      }
      return "'" + value + "' is not a length class: use 0 to 3, or -1 for none";
    },
    "", "length class");

// The names of the built-in samples.
const CLI::Validator kSampleName(
    [](std::string& value) -> std::string {
      if (SampleByName(value)) return "";
      return "unknown sample '" + value + "': use initial, chinese or english";
    },
    "", "sample");

void AddOptions(CLI::App& app, CliOptions& options, std::string& encoding,
                std::string& sample) {
  CLI::Option* files =
      app.add_option("FILE", options.files,
                     "the article files, each summarised on its own (with --jsonl, "
                     "one file of JSON lines); \"-\" or none reads standard input")
          ->type_name("");
  CLI::Option* title = app.add_option("-t,--title", options.title,
                                      "the title (default: empty)")
                           ->type_name("TEXT");
  CLI::Option* title_file =
      app.add_option("--title-file", options.title_file,
                     "the title from a file, without its final line break")
          ->type_name("FILE")
          ->excludes(title);
  CLI::Option* title_line =
      app.add_flag("--title-line", options.title_line,
                   "the first non-blank line of each article is its title and is "
                   "cut from the article, with the blank lines before it")
          ->excludes(title)
          ->excludes(title_file);
  CLI::Option* sample_option = app.add_option("--sample", sample,
                 "title and article from a built-in sample: initial (the text "
                 "the window opens with), chinese or english")
      ->type_name("NAME")
      ->check(kSampleName)
      ->excludes(files)
      ->excludes(title)
      ->excludes(title_file)
      ->excludes(title_line);
  app.add_option("-l,--length-class", options.length_class,
                 "0 to 3 as the four items of the length list (default 0); "
                 "-1 means no item selected")
      ->type_name("N")
      ->check(kLengthClass);
  CLI::Option* encoding_option = app.add_option("-e,--encoding", encoding,
                 "the encoding of the inputs: auto (default: UTF-16 with a "
                 "byte-order mark, else UTF-8, else GB18030), utf-8, gbk, gb18030 "
                 "or utf-16; the plain output is GBK with gbk, else UTF-8")
      ->type_name("ENC")
      ->check(kEncodingName);
  CLI::Option* json = app.add_flag("--json", options.json,
                                   "print one JSON object instead of the summary "
                                   "(one per line and file, with \"file\", for "
                                   "several files)");
  app.add_flag("--jsonl", options.jsonl,
               "read one JSON object {\"title\", \"article\", \"length_class\", "
               "\"title_line\"} per line of one UTF-8 file and print one JSON "
               "result per line, in input order")
      ->excludes(title)
      ->excludes(title_file)
      ->excludes(title_line)
      ->excludes(encoding_option)
      ->excludes(json)
      ->excludes(sample_option);
  app.add_option("-j,--jobs", options.jobs,
                 "the number of articles (files, or lines with --jsonl) "
                 "summarised at once (default: one per core)")
      ->type_name("N")
      ->check(CLI::Range(1, kMaxJobs));
  app.set_version_flag("--version", std::string("quillet-cli ") + QUILLET_VERSION);
}

// The usage errors that no single option shows; empty when there are none.
std::string CheckFiles(const CliOptions& options) {
  if (options.jsonl && options.files.size() > 1) {
    return "--jsonl reads one file of JSON lines, not " +
           std::to_string(options.files.size()) + " (join them with cat)";
  }
  if (std::count(options.files.begin(), options.files.end(), "-") > 1) {
    return "\"-\" (standard input) can be given only once";
  }
  return "";
}

}  // namespace

ParseOutcome ParseCliOptions(int argc, const char* const* argv) {
  CliOptions options;
  options.files.clear();  // CLI11 appends to the default
  CLI::App app("Makes an extractive summary of each Chinese or English article given.",
               "quillet-cli");
  std::string encoding = "auto";
  std::string sample;
  AddOptions(app, options, encoding, sample);

  ParseOutcome outcome;
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    outcome.output = app.help();
    return outcome;
  } catch (const CLI::CallForVersion& e) {
    outcome.output = std::string(e.what()) + "\n";
    return outcome;
  } catch (const CLI::ParseError& e) {
    outcome.error = std::string(e.what()) + " (see --help)";
    outcome.exit_status = kUsageError;
    return outcome;
  }
  if (options.files.empty()) options.files = {"-"};
  if (const std::string problem = CheckFiles(options); !problem.empty()) {
    outcome.error = problem + " (see --help)";
    outcome.exit_status = kUsageError;
    return outcome;
  }
  options.encoding = kEncodings.at(Lower(encoding));
  if (!sample.empty()) options.sample = SampleByName(sample);
  outcome.options = std::move(options);
  return outcome;
}

}  // namespace quillet::cli
