// ParseCliOptions in-process: what each command line comes to. The
// messages as the process prints them, and its exit status, are checked
// by running quillet-cli in cli_test.cc.

#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quillet::cli {
namespace {

ParseOutcome Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "quillet-cli");
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return ParseCliOptions(static_cast<int>(argv.size()), argv.data());
}

// The options as a function of the defaults, for short table rows.
template <typename Change>
CliOptions With(Change change) {
  CliOptions options;
  change(options);
  return options;
}

TEST(ParseCliOptionsTest, OptionsOrTheUsageError) {
  struct Case {
    std::vector<std::string> args;
    std::optional<CliOptions> options;  // nullopt: a usage error
    std::string error;
  };
  const std::vector<Case> cases = {
      {{}, CliOptions{}, ""},
      {{"-"}, CliOptions{}, ""},
      {{"a.txt", "-t", "T", "-l", "-1", "-e", "GBK", "--json"},
       With([](CliOptions& o) {
         o.files = {"a.txt"};
         o.title = "T";
         o.length_class = -1;
         o.encoding = Encoding::kGbk;
         o.json = true;
       }),
       ""},
      {{"--title-file", "t.txt", "--length-class=3", "--encoding", "CP936"},
       With([](CliOptions& o) {
         o.title_file = "t.txt";
         o.length_class = 3;
         o.encoding = Encoding::kGbk;
       }),
       ""},
      {{"-l-1", "--encoding=UTF8"},
       With([](CliOptions& o) {
         o.length_class = -1;
         o.encoding = Encoding::kUtf8;
       }),
       ""},
      {{"a.txt", "-", "b.txt", "--title-line", "-e", "gb18030", "-j", "2"},
       With([](CliOptions& o) {
         o.files = {"a.txt", "-", "b.txt"};
         o.title_line = true;
         o.encoding = Encoding::kGb18030;
         o.jobs = 2;
       }),
       ""},
      {{"-e", "utf16"}, With([](CliOptions& o) { o.encoding = Encoding::kUtf16; }), ""},
      {{"-e", "Auto"}, CliOptions{}, ""},
      {{"--sample", "chinese", "-l2"},
       With([](CliOptions& o) {
         o.sample = SampleName::kChinese;
         o.length_class = 2;
       }),
       ""},
      {{"--jsonl", "lines.jsonl", "-j", "4"},
       With([](CliOptions& o) {
         o.files = {"lines.jsonl"};
         o.jsonl = true;
         o.jobs = 4;
       }),
       ""},
      {{"--jsonl", "--jobs", "1025"}, std::nullopt,
       "--jobs: Value 1025 not in range 1 to 1024 (see --help)"},
      {{"--sample", "english", "--json", "x"}, std::nullopt,
       "FILE excludes --sample (see --help)"},
      {{"--jsonl", "a", "b"}, std::nullopt,
       "--jsonl reads one file of JSON lines, not 2 (join them with cat) (see --help)"},
      {{"-", "a", "-"}, std::nullopt,
       "\"-\" (standard input) can be given only once (see --help)"},
  };
  for (const Case& c : cases) {
    const std::string line = ::testing::PrintToString(c.args);
    const ParseOutcome outcome = Parse(c.args);
    EXPECT_EQ(outcome.options, c.options) << line;
    EXPECT_EQ(outcome.error, c.error) << line;
    EXPECT_EQ(outcome.exit_status, c.options ? 0 : 2) << line;
    EXPECT_EQ(outcome.output, "") << line;
  }
}

TEST(ParseCliOptionsTest, HelpAndVersionAreTextsToPrint) {
  for (const char* flag : {"--help", "-h", "--version"}) {
    const ParseOutcome outcome = Parse({"-l", "2", flag});
    EXPECT_FALSE(outcome.options.has_value()) << flag;
    EXPECT_EQ(outcome.exit_status, 0) << flag;
    EXPECT_EQ(outcome.error, "") << flag;
    EXPECT_TRUE(outcome.output.ends_with('\n')) << flag;
  }
  EXPECT_EQ(Parse({"--version"}).output.rfind("quillet-cli ", 0), 0u);
  EXPECT_NE(Parse({"--help"}).output.find("--length-class"), std::string::npos);
}

}  // namespace
}  // namespace quillet::cli
