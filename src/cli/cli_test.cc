// Runs the built quillet-cli binary and checks what it prints and how it
// exits.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "codec/gbk_codec.h"
#include "pipeline/summarize.h"
#include "samples/samples.h"
#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::ProcessOptions;
using testing::ProcessResult;
using testing::RunCli;
using testing::RunProcess;
using testing::TempFile;

nlohmann::json Json(const ProcessResult& result) {
  return nlohmann::json::parse(result.out);
}

// The status caption tells the byte length of the content field: for an
// English article "原文" N "字，摘要" M "字" with N the bytes as the field holds them.
std::string ContentBytesInStatus(const ProcessResult& result) {
  const std::string status = Json(result)["status"];
  const std::string head = "原文";
  const std::size_t end = status.find("字");
  if (status.rfind(head, 0) != 0 || end == std::string::npos) return "?" + status;
  return status.substr(head.size(), end - head.size());
}

TEST(CliTest, InputReachesTheFieldsAsTheWindowHoldsIt) {
  struct Case {
    std::vector<std::string> args;
    std::string article;
    std::string content_bytes;
  };
  const std::vector<Case> cases = {
      {{}, "e\nf\r\ng\rh", "10"},                 // every break becomes CR LF
      {{"-e", "gbk"}, "e\nf\r\ng\rh", "10"},
      {{}, "\xC3\xA9" "e", "3"},                  // é: two GBK bytes A8 A6
      {{"-e", "gbk"}, "\xC3\xA9" "e", "3"},       // the same bytes, taken as they are
      {{"-e", "GBK"}, "e\xFF\x80", "3"},          // not checked as GBK
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("--json");
    const ProcessResult result = RunCli(args, c.article);
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(ContentBytesInStatus(result), c.content_bytes) << c.article;
  }
}

TEST(CliTest, ArticleFromAFileOrStandardInput) {
  const TempFile article("Here it is.");
  const ProcessResult from_file = RunCli({"--json", article.path()});
  const ProcessResult from_dash = RunCli({"--json", "-"}, "Here it is.");
  EXPECT_EQ(from_file.exit_status, 0);
  EXPECT_EQ(from_file.out, from_dash.out);
  EXPECT_EQ(ContentBytesInStatus(from_file), "11");
}

TEST(CliTest, UnrepresentableCharactersAreCountedOnOneLine) {
  const TempFile title("Emoji \xF0\x9F\x98\x80\n");
  const ProcessResult result =
      RunCli({"--json", "--title-file", title.path()}, "e \xEA\xB0\x80 \xF0\x9F\x98\x80");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.err, "quillet-cli: 3 characters that GBK cannot hold replaced by \"?\"\n");
  EXPECT_EQ(ContentBytesInStatus(result), "5");  // "e ? ?"
}

TEST(CliTest, NoLanguageGivesAnEmptySummaryAndOneLineWhy) {
  const TempFile empty("");
  struct Case {
    std::vector<std::string> args;
    std::string article;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "123 ABC",
       "standard input: no summary: the article is neither Chinese (it holds no U+7684) nor "
       "English (it holds no letter e)"},
      {{empty.path()}, "", empty.path() + ": no summary: the article is empty"},
      {{}, "\n", "standard input: no summary: the article is neither Chinese (it holds no "
                 "U+7684) nor English (it holds no letter e)"},
  };
  for (const Case& c : cases) {
    const ProcessResult plain = RunCli(c.args, c.article);
    EXPECT_EQ(plain.exit_status, 0);
    EXPECT_EQ(plain.out, "\n");
    EXPECT_EQ(plain.err, "quillet-cli: " + c.message + "\n");

    std::vector<std::string> args = c.args;
    args.push_back("--json");
    const ProcessResult json = RunCli(args, c.article);
    EXPECT_EQ(json.exit_status, 0);
    EXPECT_EQ(json.out,
              "{\"language\":null,\"summary\":\"\",\"status\":\"\",\"keywords\":\"\","
              "\"sentences\":[],\"terms\":[],\"summary_rows\":[]}\n");
  }
}

TEST(CliTest, JsonMembersInOrderAndEveryCellAText) {
  const ProcessResult result = RunCli({"--json", "-t", "Rates"},
                                      "Rates rose again today in the market. "
                                      "Rates rose and the market fell sharply. "
                                      "Rates rose while the market went on. ");
  ASSERT_EQ(result.exit_status, 0) << result.err;
  const nlohmann::json json = Json(result);
  const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(result.out);
  std::vector<std::string> keys;
  for (const auto& item : ordered.items()) {
    keys.push_back(item.key());
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"language", "summary", "status", "keywords",
                                            "sentences", "terms", "summary_rows"}));
  EXPECT_EQ(json["language"], "english");
  for (const char* key : {"summary", "status", "keywords"}) {
    EXPECT_TRUE(json[key].is_string()) << key;
  }
  const std::vector<std::pair<const char*, std::size_t>> tables = {
      {"sentences", 3}, {"terms", 2}, {"summary_rows", 2}};
  for (const auto& [key, width] : tables) {
    ASSERT_TRUE(json[key].is_array()) << key;
    for (const nlohmann::json& row : json[key]) {
      ASSERT_EQ(row.size(), width) << key;
      for (const nlohmann::json& cell : row) EXPECT_TRUE(cell.is_string()) << key;
    }
  }
  EXPECT_FALSE(json["summary_rows"].empty());
}

TEST(CliTest, PlainSummaryInTheChosenEncoding) {
  const std::string article =
      "临江市今天开通了第一条智慧公交线路。\n"
      "市民说，智慧公交的速度比普通公交快很多。\n"
      "智慧公交会不会涨价？\n";
  const std::string summary =
      "临江市今天开通了第一条智慧公交线路。智慧公交的速度比普通公交快很多。"
      "智慧公交会不会涨价？";
  const ProcessResult utf8 = RunCli({"-t", "智慧公交"}, article);
  EXPECT_EQ(utf8.exit_status, 0) << utf8.err;
  EXPECT_EQ(utf8.out, summary + "\n");
  EXPECT_EQ(utf8.err, "");

  const TempFile gbk_title(G("智慧公交\r\n").bytes());
  const ProcessResult gbk =
      RunCli({"--encoding", "gbk", "--title-file", gbk_title.path()}, G(article).bytes());
  EXPECT_EQ(gbk.exit_status, 0) << gbk.err;
  EXPECT_EQ(gbk.out, G(summary).bytes() + "\n");
}

// Every cell exactly as the table holds it; a byte that is no GBK
// character shows as U+FFFD (0xFF forms one character with the "." behind
// it, so the text has no sentence mark and stays one sentence).
TEST(CliTest, JsonOfAOneSentenceArticle) {
  const ProcessResult result =
      RunCli({"-e", "gbk", "--json"}, "The rail line opened today \xFF.");
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out,
            "{\"language\":\"english\",\"summary\":\"The rail line opened today \uFFFD.\","
            "\"status\":\"原文29字，摘要29字\",\"keywords\":\"关键词：    \","
            "\"sentences\":[[\"The rail line opened today \uFFFD.\",\"1\",\"0\"]],"
            "\"terms\":[],"
            "\"summary_rows\":[[\"The rail line opened today \uFFFD.\",\"999999\"]]}\n");
}

TEST(CliTest, ErrorsNameTheInputAndExitWithTwo) {
  const TempFile nul_article(std::string("The\0end", 7));
  const TempFile nul_title(std::string("T\0", 2));
  const TempFile bad_utf8("ok \xE7\x9A");
  const TempFile gbk_title("\xD6\xC7\xBB\xDB");  // 智慧 in GBK
  // 100 MB that take no disk: refused by its size, before any is read.
  const TempFile huge("");
  ASSERT_EQ(truncate(huge.path().c_str(), 100'000'000), 0);
  const std::string too_large = ": too large (100000000 bytes; the limit is 16 MiB)";
  struct Case {
    std::vector<std::string> args;
    std::string stdin_data;
    std::string message;  // the whole line after "quillet-cli: "
  };
  std::vector<Case> cases = {
      {{"/nonexistent/article.txt"}, "",
       "/nonexistent/article.txt: No such file or directory"},
      {{"/"}, "", "/: Is a directory"},
      // Opens, but offset 0 of the reader's own memory is never mapped:
      // unreadable even for root, whom no file mode stops.
      {{"/proc/self/mem"}, "", "/proc/self/mem: Input/output error"},
      {{"--title-file", "/proc/self/mem"}, "e", "/proc/self/mem: Input/output error"},
      {{huge.path()}, "", huge.path() + too_large},
      {{"--title-file", huge.path()}, "e", huge.path() + too_large},
      {{}, std::string((16 << 20) + 1, 'e'),
       "standard input: too large (more than 16777216 bytes; the limit is 16 MiB)"},
      {{"-e", "utf-8", "--title-file", gbk_title.path()}, "e",
       gbk_title.path() + ": invalid UTF-8 at byte offset 0"},
      {{"--jsonl", "/nonexistent/lines"}, "", "/nonexistent/lines: No such file or directory"},
      {{"--jsonl", "/"}, "", "/: Is a directory"},
      {{"--jsonl", "/proc/self/mem"}, "", "/proc/self/mem: Input/output error"},
      {{"--title-file", "/nonexistent/t"}, "e", "/nonexistent/t: No such file or directory"},
      {{"-e", "utf8", nul_article.path()}, "", nul_article.path() + ": NUL byte at offset 3"},
      {{nul_article.path()}, "",
       nul_article.path() +
           ": not UTF-8 or GB18030 text: byte 0x00 at offset 3 (likely a binary file, not text)"},
      {{"-e", "gbk", nul_article.path()}, "", nul_article.path() + ": NUL byte at offset 3"},
      {{"-e", "utf-8", "--title-file", nul_title.path()}, "e",
       nul_title.path() + ": NUL byte at offset 1"},
      {{"-e", "utf-8"}, std::string("ab\0", 3), "standard input: NUL byte at offset 2"},
      {{"-e", "utf-8", bad_utf8.path()}, "", bad_utf8.path() + ": invalid UTF-8 at byte offset 3"},
      {{"-t", "\xFF"}, "e",
       "--title: not UTF-8 or GB18030 text: byte 0xFF at offset 0 (likely an encoding other "
       "than UTF-8, GB18030 and UTF-16)"},
      {{"--frobnicate"}, "", "The following argument was not expected: --frobnicate (see --help)"},
      {{"-", "a.txt", "-"}, "", "\"-\" (standard input) can be given only once (see --help)"},
      {{"--jsonl", "a", "b"}, "",
       "--jsonl reads one file of JSON lines, not 2 (join them with cat) (see --help)"},
      {{"-l", "4"}, "",
       "--length-class: '4' is not a length class: use 0 to 3, or -1 for none (see --help)"},
      {{"-l", "7"}, "",
       "--length-class: '7' is not a length class: use 0 to 3, or -1 for none (see --help)"},
      {{"-l", "x"}, "",
       "--length-class: 'x' is not a length class: use 0 to 3, or -1 for none (see --help)"},
      {{"-e", "latin1"}, "",
       "--encoding: unknown encoding 'latin1': use auto, utf-8, gbk, gb18030 or utf-16 (see "
       "--help)"},
      {{"-t", "x", "--title-file", "y"}, "", "--title excludes --title-file (see --help)"},
      {{"--sample", "french"}, "",
       "--sample: unknown sample 'french': use initial, chinese or english (see --help)"},
      {{"--sample", "initial", "a.txt"}, "", "FILE excludes --sample (see --help)"},
      {{"--sample", "initial", "-"}, "", "FILE excludes --sample (see --help)"},
      {{"--sample", "initial", "--title-line"}, "", "--title-line excludes --sample (see --help)"},
      {{"--title-line", "-t", "x"}, "", "--title excludes --title-line (see --help)"},
      {{"--jsonl", "--title-line"}, "", "--title-line excludes --jsonl (see --help)"},
      {{"--sample", "chinese", "-t", "x"}, "", "--title excludes --sample (see --help)"},
      {{"--title-file", "y", "--sample", "english"}, "",
       "--title-file excludes --sample (see --help)"},
      {{"--jsonl", "-t", "x"}, "", "--title excludes --jsonl (see --help)"},
      {{"--jsonl", "--json"}, "", "--json excludes --jsonl (see --help)"},
      {{"--jsonl", "-e", "gbk"}, "", "--encoding excludes --jsonl (see --help)"},
      {{"--jsonl", "--jobs", "0"}, "", "--jobs: Value 0 not in range 1 to 1024 (see --help)"},
      {{"--jsonl", "--sample", "english"}, "", "--sample excludes --jsonl (see --help)"},
  };
  const TempFile locked("e");
  if (geteuid() != 0) {  // root reads a file of any mode
    ASSERT_EQ(chmod(locked.path().c_str(), 0), 0);
    cases.push_back({{locked.path()}, "", locked.path() + ": Permission denied"});
  }
  for (const Case& c : cases) {
    const ProcessResult result = RunCli(c.args, c.stdin_data);
    EXPECT_EQ(result.exit_status, 2) << c.message;
    EXPECT_EQ(result.err, "quillet-cli: " + c.message + "\n");
    EXPECT_EQ(result.out, "");
  }
  // The same bytes are fine as GBK.
  const ProcessResult gbk = RunCli({"-e", "gbk", bad_utf8.path()});
  EXPECT_EQ(gbk.exit_status, 0) << gbk.err;
}

TEST(CliTest, LengthClassAcceptsNoSelection) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-l", "-1"}, {"-l-1"}, {"--length-class=-1"},
        {"--length-class", "3"}}) {
    const ProcessResult result = RunCli(args, "e");
    EXPECT_EQ(result.exit_status, 0) << args[0] << ": " << result.err;
  }
}

// A sample is run exactly as the window holds it: its summary and status
// are those of the same fields summarised in a workspace.
TEST(CliTest, SampleTakesTitleAndArticleFromTheBuiltInText) {
  const struct {
    const char* name;
    SampleName sample;
    int length_class;
  } cases[] = {
      {"initial", SampleName::kInitial, 0},
      {"chinese", SampleName::kChinese, 3},
      {"english", SampleName::kEnglish, 1},
  };
  for (const auto& c : cases) {
    Workspace ws;
    ws.fields.title = GetSample(c.sample).title;
    ws.fields.content = GetSample(c.sample).text;
    ws.fields.length_class = c.length_class;
    ASSERT_TRUE(Summarize(ws).has_value()) << c.name;
    ASSERT_FALSE(ws.fields.output.empty()) << c.name;

    const std::string length = std::to_string(c.length_class);
    const ProcessResult plain = RunCli({"--sample", c.name, "-l", length});
    EXPECT_EQ(plain.exit_status, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(plain.out, FieldToUtf8(ws.fields.output) + "\n") << c.name;

    const ProcessResult json = RunCli({"--sample", c.name, "-l", length, "--json"});
    EXPECT_EQ(json.exit_status, 0) << json.err;
    EXPECT_EQ(Json(json)["status"], GbkToUtf8(ws.fields.status.view())) << c.name;
    EXPECT_EQ(Json(json)["keywords"], GbkToUtf8(ws.fields.keywords.view())) << c.name;
  }
}

TEST(CliTest, HelpAndVersion) {
  const ProcessResult help = RunCli({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* option : {"FILE", "--title", "--title-file", "--title-line", "--sample",
                             "--length-class", "--encoding", "--json", "--jsonl", "--jobs",
                             "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const ProcessResult version = RunCli({"--version"});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out.rfind("quillet-cli ", 0), 0u) << version.out;
}

TEST(CliTest, ClosedOutputIsAnError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
      {{}, "e"},
      {{"--json"}, "e"},
      {{"--jsonl"}, "{\"article\": \"e\"}\n{\"article\": \"f\"}\n"},
      // Several workers, each of which may be the one writing when the
      // output fails.
      {{"--jsonl", "-j", "3"}, [] {
         std::string lines;
         for (int i = 0; i < 200; ++i) lines += "{\"article\": \"The line opened.\"}\n";
         return lines;
       }()},
  };
  for (const auto& [args, input] : runs) {
    ProcessOptions options;
    options.stdin_data = input;
    options.stdout_closed = true;
    std::vector<std::string> argv = args;
    argv.insert(argv.begin(), QUILLET_CLI_PATH);
    const ProcessResult result = RunProcess(argv, options);
    EXPECT_EQ(result.exit_status, 2) << input;
    EXPECT_EQ(result.err, "quillet-cli: standard output: Broken pipe\n") << input;
  }
}

}  // namespace
}  // namespace quillet
