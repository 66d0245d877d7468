#include "joined_articles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "bench_inputs.h"
#include "codec/gbk_codec.h"
#include "pipeline/summarize.h"

namespace quillet::bench {
namespace {

const GbkText kDe = "\xB5\xC4";  // 的

TEST(JoinedArticlesTest, SameArgumentsSameBytes) {
  for (Language language : {Language::kChinese, Language::kEnglish}) {
    const JoinedArticle a = JoinArticles(language, 20000, 7);
    const JoinedArticle b = JoinArticles(language, 20000, 7);
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.title, b.title);
    EXPECT_NE(a.text, JoinArticles(language, 20000, 8).text);
  }
}

TEST(JoinedArticlesTest, InputsHaveTheirSizeAndLanguage) {
  const struct {
    const char* name;
    Language language;
    std::size_t bytes;
  } kCases[] = {
      {"zh-64K", Language::kChinese, 64 << 10},
      {"zh-256K", Language::kChinese, 256 << 10},
      {"zh-1M", Language::kChinese, 1 << 20},
      {"en-64K", Language::kEnglish, 64 << 10},
      {"en-256K", Language::kEnglish, 256 << 10},
      {"en-1M", Language::kEnglish, 1 << 20},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto input = MakeBenchInput(c.name);
    ASSERT_TRUE(input);
    EXPECT_LE(input->text.size(), c.bytes);
    EXPECT_GE(input->text.size(), c.bytes - 2048);  // short by one paragraph
    EXPECT_EQ(input->language, c.language);
    EXPECT_EQ(ChooseLanguage(input->text), c.language);
    EXPECT_FALSE(input->title.empty());
    if (c.language == Language::kEnglish) {
      EXPECT_EQ(input->text.view().find(kDe.view()), std::string_view::npos);
    }
  }
}

// Sentences of a joined article, cut after the sentence ends and the
// reporting commas the way the summary cuts them, roughly; like the summary,
// without those shorter than 15 bytes.
std::vector<std::string> Sentences(const GbkText& text) {
  const std::string utf8 = GbkToUtf8(text.view());
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    std::size_t cut = 0;
    for (std::string_view end : {"。", "！", "？", "；", "说，", ". ", "\n"}) {
      if (utf8.compare(i, end.size(), end) == 0) cut = end.size();
    }
    if (cut == 0) continue;
    std::string sentence = utf8.substr(start, i + cut - start);
    if (Utf8ToGbk(sentence).size() >= 15) out.push_back(std::move(sentence));
    start = i + cut;
  }
  return out;
}

// The big inputs must be as much work for the summary as their size says:
// the summary drops every later copy of a sentence.
TEST(JoinedArticlesTest, NoSentenceRepeats) {
  for (const char* name : {"zh-1M", "en-1M"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> all = Sentences(MakeBenchInput(name)->text);
    const std::set<std::string> distinct(all.begin(), all.end());
    ASSERT_GT(all.size(), 5000u);
    EXPECT_GT(static_cast<double>(distinct.size()) / all.size(), 0.97);
  }
}

}  // namespace
}  // namespace quillet::bench
