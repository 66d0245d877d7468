// Runs quillet-cli --jsonl: one result line for every input line, in input
// order whatever the number of jobs, each the --json object of the same
// article, and an error line for every line that cannot be summarised.

#include <gtest/gtest.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "support/test_util.h"

namespace quillet {
namespace {

using nlohmann::ordered_json;
using testing::ProcessResult;
using testing::RunCli;
using testing::TempFile;

constexpr std::size_t kLimit = std::size_t{16} << 20;

ProcessResult RunBatch(std::vector<std::string> args, std::string input) {
  args.insert(args.begin(), "--jsonl");
  return RunCli(std::move(args), std::move(input));
}

// Every output line parsed; each must end with LF.
std::vector<ordered_json> ResultLines(const std::string& out) {
  std::vector<ordered_json> lines;
  std::size_t begin = 0;
  while (begin < out.size()) {
    std::size_t end = out.find('\n', begin);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the last line has no LF";
      end = out.size();
    }
    lines.push_back(ordered_json::parse(out.substr(begin, end - begin)));
    begin = end + 1;
  }
  return lines;
}

TEST(JsonlBatchTest, EachResultIsTheJsonOfItsArticle) {
  struct Case {
    std::optional<std::string> title;
    std::string article;
    std::optional<int> length_class;  // none: the -l of the batch, 2
    int replaced;
  };
  const std::vector<Case> cases = {
      {"Rates",
       "Rates rose again today in the market.\nRates rose and the market fell sharply.\r\n"
       "Rates rose while the market went on.\rRates rose.",
       0, 0},
      {"智慧公交",
       "临江市今天开通了第一条智慧公交线路。\n市民说，智慧公交的速度比普通公交快很多。\n"
       "智慧公交会不会涨价？\n",
       1, 0},
      {std::nullopt,
       "The market fell. The market fell sharply again today, and rates rose in the market.",
       std::nullopt, 0},
      {"Emoji \xF0\x9F\x98\x80", "e \xEA\xB0\x80 \xF0\x9F\x98\x80", 3, 3},
      {std::nullopt, "123 ABC", -1, 0},  // neither language
      {"", "", std::nullopt, 0},
  };
  std::string input;
  for (const Case& c : cases) {
    ordered_json line = {{"article", c.article}};
    if (c.title) line["title"] = *c.title;
    if (c.length_class) line["length_class"] = *c.length_class;
    input += line.dump() + "\n";
  }
  const ProcessResult batch = RunBatch({"-l", "2"}, input);
  ASSERT_EQ(batch.exit_status, 0) << batch.err;
  EXPECT_EQ(batch.err, "");
  std::vector<ordered_json> results = ResultLines(batch.out);
  ASSERT_EQ(results.size(), cases.size());

  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const ProcessResult single =
        RunCli({"--json", "-t", c.title.value_or(""), "-l",
                std::to_string(c.length_class.value_or(2))},
               c.article);
    ASSERT_EQ(single.exit_status, 0) << single.err;
    ordered_json& result = results[i];
    EXPECT_EQ(result["line"], i + 1);
    EXPECT_EQ(result["replaced"], c.replaced) << c.article;
    EXPECT_EQ(result.front(), i + 1);  // "line" comes first, "replaced" last
    EXPECT_EQ(result.back(), c.replaced);
    result.erase("line");
    result.erase("replaced");
    EXPECT_EQ(result, ordered_json::parse(single.out)) << c.article;
  }
}

TEST(JsonlBatchTest, ResultsInInputOrderWhateverTheJobs) {
  // On several threads the short articles behind a long one finish first.
  const int kLines = 60;
  std::string input;
  for (int i = 1; i <= kLines; ++i) {
    if (i % 9 == 0) {
      input += "not json\n";
      continue;
    }
    std::string article;
    const int parts = i % 10 == 1 ? 200 : i % 3;
    for (int k = 0; k <= parts; ++k) {
      article += "Report " + std::to_string(i) + " part " + std::to_string(k) +
                 " says the rail line opened today. ";
    }
    input += ordered_json({{"article", article}}).dump() + "\n";
  }
  const ProcessResult one = RunBatch({"--jobs", "1"}, input);
  ASSERT_EQ(one.exit_status, 0) << one.err;
  for (const char* jobs : {"2", "4"}) {
    const ProcessResult many = RunBatch({"--jobs", jobs}, input);
    EXPECT_EQ(many.exit_status, 0) << many.err;
    EXPECT_EQ(many.out, one.out) << jobs << " jobs";
  }
  EXPECT_EQ(RunBatch({}, input).out, one.out) << "one job per core";

  const std::vector<ordered_json> results = ResultLines(one.out);
  ASSERT_EQ(results.size(), static_cast<std::size_t>(kLines));
  for (int i = 1; i <= kLines; ++i) {
    const ordered_json& result = results[i - 1];
    EXPECT_EQ(result["line"], i);
    if (i % 9 == 0) {
      EXPECT_TRUE(result.contains("error")) << i;
    } else {
      const std::string summary = result["summary"];
      EXPECT_EQ(summary.rfind("Report " + std::to_string(i) + " part 0 ", 0), 0u) << summary;
    }
  }
}

TEST(JsonlBatchTest, EveryBrokenLineGivesAnErrorLineAndTheRunGoesOn) {
  struct Case {
    std::string line;
    std::string error;  // empty for a line that is summarised; a message
                        // ending in "(" is the parser's, checked up to there
  };
  const std::vector<Case> cases = {
      {"", "blank line"},
      {" \t\r", "blank line"},
      {"{", "not valid JSON ("},
      {"{\"article\": \"e\"", "not valid JSON ("},
      {"{\"article\": \"e\"} {}", "not valid JSON ("},
      {"{\"article\": \"\xFF\"}", "not valid JSON ("},          // ill-formed UTF-8
      {"{\"article\": \"\\ud800 e\"}", "not valid JSON ("},     // a lone surrogate
      {"[\"e\"]", "not a JSON object"},
      {"\"e\"", "not a JSON object"},
      {"{\"title\": \"e\"}", "no \"article\" member"},
      {"{\"Article\": \"e\"}", "no \"article\" member"},
      {"{\"article\": null}", "\"article\" is not a string"},
      {"{\"article\": [\"e\"]}", "\"article\" is not a string"},
      {"{\"article\": \"e\", \"title\": 1}", "\"title\" is not a string"},
      {"{\"article\": \"e\", \"length_class\": 4}", "\"length_class\" is not -1, 0, 1, 2 or 3"},
      {"{\"article\": \"e\", \"length_class\": -2}", "\"length_class\" is not -1, 0, 1, 2 or 3"},
      {"{\"article\": \"e\", \"length_class\": 1.0}", "\"length_class\" is not -1, 0, 1, 2 or 3"},
      {"{\"article\": \"e\", \"length_class\": \"1\"}", "\"length_class\" is not -1, 0, 1, 2 or 3"},
      {"{\"article\": \"e\", \"length_class\": true}", "\"length_class\" is not -1, 0, 1, 2 or 3"},
      {"{\"article\": \"e\", \"length_class\": 18446744073709551615}",
       "\"length_class\" is not -1, 0, 1, 2 or 3"},
      {"{\"article\": \"e\", \"title_line\": 1}", "\"title_line\" is not true or false"},
      {"{\"article\": \"e\", \"title\": \"t\", \"title_line\": true}",
       "\"title\" and \"title_line\": true both give the title"},
      {"{\"article\": \"e\", \"title\": \"t\", \"title_line\": false}", ""},
      {"{\"article\": \"a\\u0000b\"}", "article: NUL byte at offset 1"},
      {"{\"article\": \"e\", \"title\": \"\\u0000\"}", "title: NUL byte at offset 0"},
      {std::string(kLimit + 1, 'x'), "too large (16777217 bytes; the limit is 16 MiB)"},
      {"{\"article\": \"e\"}\r", ""},
      {"{\"article\": \"e\", \"length_class\": -1, \"other\": [1]}", ""},
      {"{\"article\": \"e\"}", ""},  // the last line, without LF
  };
  std::string input;
  for (const Case& c : cases) input += c.line + "\n";
  input.pop_back();
  const ProcessResult batch = RunBatch({"--jobs", "2"}, input);
  EXPECT_EQ(batch.exit_status, 0) << batch.err;
  EXPECT_EQ(batch.err, "");
  const std::vector<ordered_json> results = ResultLines(batch.out);
  ASSERT_EQ(results.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const ordered_json& result = results[i];
    const std::string line = c.line.substr(0, 60);
    EXPECT_EQ(result["line"], i + 1) << line;
    if (c.error.empty()) {
      EXPECT_FALSE(result.contains("error")) << line << ": " << result.dump();
      EXPECT_EQ(result["language"], "english") << line;
      continue;
    }
    ASSERT_EQ(result.size(), 2u) << line << ": " << result.dump();
    const std::string error = result["error"];
    if (c.error.ends_with('(')) {
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << line << ": " << error;
      EXPECT_TRUE(error.ends_with(')')) << error;
    } else {
      EXPECT_EQ(error, c.error) << line;
    }
  }
}

// A byte-order mark before the first line is dropped; "title_line": true
// cuts the headline from the article as --title-line does.
TEST(JsonlBatchTest, FirstLineMarkAndTitleLine) {
  const std::string article =
      "\n  Rates rise\nRates rose again today in the market.\n"
      "Rates rose and the market fell sharply.\nRates rose while the market went on.\n";
  const std::string line = ordered_json({{"article", article}, {"title_line", true}}).dump();
  const ProcessResult batch = RunBatch({}, "\xEF\xBB\xBF" + line + "\n" + line + "\n");
  ASSERT_EQ(batch.exit_status, 0) << batch.err;
  const ProcessResult single = RunCli({"--json", "--title-line"}, article);
  ASSERT_EQ(single.exit_status, 0) << single.err;
  const ProcessResult given = RunCli({"--json", "-t", "Rates rise"},
                                     article.substr(article.find("Rates rose")));
  EXPECT_EQ(single.out, given.out);
  std::vector<ordered_json> results = ResultLines(batch.out);
  ASSERT_EQ(results.size(), 2u);
  for (ordered_json& result : results) {
    result.erase("line");
    result.erase("replaced");
    EXPECT_EQ(result, ordered_json::parse(single.out));
  }
}

// A line far over the limit is counted, not held, and the next line is
// summarised as usual.
TEST(JsonlBatchTest, HugeLineOfAFileIsSkipped) {
  const TempFile lines("");
  ASSERT_EQ(truncate(lines.path().c_str(), 100'000'000), 0);  // sparse: no disk
  std::FILE* file = std::fopen(lines.path().c_str(), "a");
  ASSERT_NE(file, nullptr);
  std::fputs("\n{\"article\": \"e\"}\n", file);
  ASSERT_EQ(std::fclose(file), 0);

  const ProcessResult batch = RunBatch({lines.path()}, "");
  EXPECT_EQ(batch.exit_status, 0) << batch.err;
  const std::vector<ordered_json> results = ResultLines(batch.out);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].dump(),
            "{\"line\":1,\"error\":\"too large (100000000 bytes; the limit is 16 MiB)\"}");
  EXPECT_EQ(results[1]["line"], 2);
  EXPECT_EQ(results[1]["language"], "english");
}

}  // namespace
}  // namespace quillet
