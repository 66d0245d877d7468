// Runs quillet-cli on article files as people have them: saved in each
// common encoding, many at once, some of them broken, with the headline as
// their first line.

#include <gtest/gtest.h>
#include <iconv.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/test_util.h"

namespace quillet {
namespace {

using nlohmann::json;
using testing::ProcessResult;
using testing::RunCli;
using testing::TempFile;

std::vector<json> JsonLines(const std::string& out) {
  std::vector<json> lines;
  std::size_t begin = 0;
  while (begin < out.size()) {
    const std::size_t end = std::min(out.find('\n', begin), out.size());
    lines.push_back(json::parse(out.substr(begin, end - begin)));
    begin = end + 1;
  }
  return lines;
}

// utf8 in another encoding, by glibc's converter rather than the one under
// test.
std::string Convert(const std::string& utf8, const char* encoding) {
  const iconv_t cd = iconv_open(encoding, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << encoding;
  std::string out(utf8.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(utf8.data());
  std::size_t src_left = utf8.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  EXPECT_NE(iconv(cd, &src, &src_left, &dst, &dst_left), static_cast<std::size_t>(-1))
      << encoding;
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

// The articles of the benchmark corpus, in UTF-8, by file name.
std::vector<std::pair<std::string, std::string>> CorpusArticles() {
  const std::filesystem::path corpus =
      std::filesystem::path(QUILLET_SOURCE_DIR) / "bench" / "corpus";
  std::vector<std::pair<std::string, std::string>> articles;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::ifstream in(entry.path(), std::ios::binary);
    articles.emplace_back(entry.path().filename().string(),
                          std::string(std::istreambuf_iterator<char>(in), {}));
  }
  std::sort(articles.begin(), articles.end());
  return articles;
}

// Every corpus article saved in each encoding and summarised many files at
// a time gives the summary of its UTF-8 file, in argument order.
TEST(CliFilesTest, EachEncodingGivesTheSummaryOfTheUtf8File) {
  const auto articles = CorpusArticles();
  ASSERT_GE(articles.size(), 10u);
  struct Variant {
    const char* what;
    std::vector<std::string> args;
    std::string mark;
    const char* encoding;  // of the files, for iconv
    bool guessed;          // one line on standard error per file not in ASCII
    const char* title_encoding = "UTF-8";  // of the --title argument
  };
  const std::vector<Variant> variants = {
      {"UTF-8", {}, "", "UTF-8", false},
      {"UTF-8 with mark", {}, "\xEF\xBB\xBF", "UTF-8", false},
      {"UTF-16LE with mark", {}, "\xFF\xFE", "UTF-16LE", false},
      {"UTF-16BE with mark", {}, "\xFE\xFF", "UTF-16BE", false},
      {"GBK", {}, "", "GBK", true},
      {"GB18030 with mark", {}, "\x84\x31\x95\x33", "GB18030", false},
      {"GBK forced", {"-e", "cp936"}, "", "GBK", false, "GBK"},
      {"GB18030 forced", {"-e", "gb18030"}, "", "GB18030", false, "GB18030"},
      {"UTF-8 forced with mark", {"-e", "utf-8"}, "\xEF\xBB\xBF", "UTF-8", false},
      // The title argument cannot be UTF-16: it is read as with auto.
      {"UTF-16LE forced without mark", {"-e", "utf-16"}, "", "UTF-16LE", false},
      {"UTF-16BE forced with mark", {"--encoding", "UTF-16"}, "\xFE\xFF", "UTF-16BE", false},
  };
  const std::size_t non_ascii =
      std::count_if(articles.begin(), articles.end(), [](const auto& article) {
        return std::any_of(article.second.begin(), article.second.end(),
                           [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
      });
  std::vector<json> expected;
  for (const Variant& v : variants) {
    std::vector<std::unique_ptr<TempFile>> files;
    std::vector<std::string> args = v.args;
    for (const std::string arg : {"--json", "-l", "1", "-j", "3", "-t"}) args.push_back(arg);
    args.push_back(Convert("地铁 market", v.title_encoding));
    for (const auto& [name, utf8] : articles) {
      files.push_back(std::make_unique<TempFile>(v.mark + Convert(utf8, v.encoding)));
      args.push_back(files.back()->path());
    }
    const ProcessResult result = RunCli(args);
    ASSERT_EQ(result.exit_status, 0) << v.what << ": " << result.err;
    const std::size_t guesses = std::count(result.err.begin(), result.err.end(), '\n');
    EXPECT_EQ(guesses, v.guessed ? non_ascii : 0) << v.what << ": " << result.err;
    std::vector<json> lines = JsonLines(result.out);
    ASSERT_EQ(lines.size(), articles.size()) << v.what;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i]["file"], files[i]->path()) << v.what;
      lines[i].erase("file");
      if (expected.size() < articles.size()) {
        EXPECT_FALSE(lines[i]["summary"].get<std::string>().empty()) << articles[i].first;
        expected.push_back(lines[i]);
      } else {
        EXPECT_EQ(lines[i], expected[i]) << v.what << ": " << articles[i].first;
      }
    }
  }
}

// An empty file is summarised (to nothing); a folder, a missing file and
// files that are not text each get their error line, and the rest go on.
TEST(CliFilesTest, BrokenFilesAreNamedAndTheOthersGoOn) {
  const std::string english = "The ferry service resumed today after the storm passed.";
  const TempFile first(english);
  const TempFile empty("");
  const TempFile utf16(std::string("\x5F\x6C\x02\x30\x0A\x00", 6));  // "江。\n", UTF-16LE
  const TempFile binary(std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10));
  const TempFile last(std::string("\xEF\xBB\xBF") + english);
  struct File {
    std::string path;
    std::string error;  // empty for a file that is summarised
  };
  const std::vector<File> files = {
      {first.path(), ""},
      {empty.path(), ""},
      {"/", "Is a directory"},
      {"/nonexistent/article.txt", "No such file or directory"},
      {utf16.path(),
       "not UTF-8 or GB18030 text: byte 0x02 at offset 2 (likely UTF-16 without a byte-order "
       "mark)"},
      {binary.path(),
       "not UTF-8 or GB18030 text: byte 0x7F at offset 0 (likely a binary file, not text)"},
      {last.path(), ""},
  };
  std::vector<std::string> args = {"-j", "2"};
  for (const File& file : files) args.push_back(file.path);
  const ProcessResult plain = RunCli(args);
  EXPECT_EQ(plain.exit_status, 2);
  std::string expected_out;
  std::string expected_err;
  for (const File& file : files) {
    if (!file.error.empty()) {
      expected_err += "quillet-cli: " + file.path + ": " + file.error + "\n";
    } else if (file.path == empty.path()) {
      expected_out += "\n==> " + file.path + " <==\n\n";
      expected_err += "quillet-cli: " + file.path + ": no summary: the article is empty\n";
    } else {
      expected_out += (expected_out.empty() ? "==> " : "\n==> ") + file.path + " <==\n" +
                      english + "\n";
    }
  }
  EXPECT_EQ(plain.out, expected_out);
  EXPECT_EQ(plain.err, expected_err);

  args.push_back("--json");
  const ProcessResult with_json = RunCli(args);
  EXPECT_EQ(with_json.exit_status, 2);
  EXPECT_EQ(with_json.err, expected_err);
  const std::vector<json> lines = JsonLines(with_json.out);
  ASSERT_EQ(lines.size(), files.size());
  EXPECT_EQ(with_json.out.rfind("{\"file\":", 0), 0u);  // "file" first
  EXPECT_EQ(with_json.out.find("\n{") , with_json.out.find("\n{\"file\":"));
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(lines[i]["file"], files[i].path);
    if (files[i].error.empty()) {
      EXPECT_TRUE(lines[i].contains("summary")) << files[i].path;
    } else {
      EXPECT_EQ(lines[i], json({{"file", files[i].path}, {"error", files[i].error}}));
    }
  }
}

TEST(CliFilesTest, SeveralGoodFilesExitWithZeroAndOneFileKeepsItsPlainForm) {
  const TempFile a("The ferry service resumed today.");
  const ProcessResult two = RunCli({"--json", a.path(), "-"}, "The ferry service resumed.");
  EXPECT_EQ(two.exit_status, 0) << two.err;
  ASSERT_EQ(JsonLines(two.out).size(), 2u);
  EXPECT_EQ(JsonLines(two.out)[1]["file"], "-");
  const ProcessResult plain = RunCli({a.path(), "-"}, "The ferry service resumed.");
  EXPECT_EQ(plain.out, "==> " + a.path() + " <==\nThe ferry service resumed today.\n\n"
                       "==> standard input <==\nThe ferry service resumed.\n");
  const ProcessResult one = RunCli({"--json", a.path()});
  EXPECT_FALSE(json::parse(one.out).contains("file"));
}

// The headline taken by --title-line gives the summary of the rest of the
// file with that headline as the title, whatever comes before it.
TEST(CliFilesTest, TitleLineIsTheSameAsGivingTheHeadline) {
  const auto articles = CorpusArticles();
  ASSERT_FALSE(articles.empty());
  std::vector<std::unique_ptr<TempFile>> files;
  std::vector<json> expected;
  std::vector<std::string> args = {"--json", "--title-line"};
  for (const auto& [name, utf8] : articles) {
    const std::size_t end = utf8.find('\n');
    const std::string headline = utf8.substr(0, end);
    const std::string rest = utf8.substr(end + 1);
    const std::string with_blank_lines = "\n \r\n\t" + headline + "  \r\n" + rest;
    const ProcessResult given = RunCli({"--json", "-t", headline}, rest);
    ASSERT_EQ(given.exit_status, 0) << given.err;
    const ProcessResult cut = RunCli({"--json", "--title-line"}, with_blank_lines);
    EXPECT_EQ(cut.out, given.out) << name;
    EXPECT_EQ(cut.exit_status, 0) << cut.err;

    files.push_back(std::make_unique<TempFile>(with_blank_lines));
    args.push_back(files.back()->path());
    expected.push_back(json::parse(given.out));
    expected.back()["file"] = files.back()->path();
  }
  const ProcessResult many = RunCli(args);
  EXPECT_EQ(many.exit_status, 0) << many.err;
  EXPECT_EQ(JsonLines(many.out), expected);

  const TempFile one_line("A headline and no article\n");
  const ProcessResult only = RunCli({"--title-line", one_line.path()});
  EXPECT_EQ(only.exit_status, 0);
  EXPECT_EQ(only.out, "\n");
  EXPECT_EQ(only.err, "quillet-cli: " + one_line.path() + ": no summary: the article is empty\n");
}

}  // namespace
}  // namespace quillet
