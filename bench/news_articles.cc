#include "news_articles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codec/gbk_codec.h"
#include "corpus_files.h"
#include "pipeline/summarize.h"
#include "samples/samples.h"

namespace quillet::bench {

namespace {

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "news articles: %s\n", message.c_str());
  std::abort();
}

GbkText ToGbk(const std::string& utf8) {
  std::size_t replaced = 0;
  GbkText gbk = Utf8ToGbk(utf8, &replaced);
  if (replaced != 0) Die("a corpus character has no GBK form in: " + utf8);
  return gbk;
}

// One corpus article with the language its file name gives.
struct CorpusFile : CorpusArticle {
  Language language;
};

// Every corpus article, in file-name order.
std::vector<CorpusFile> ReadCorpus() {
  std::vector<CorpusFile> files;
  for (const auto& path : CorpusPaths("")) {
    const Language language = path.filename().string().starts_with("zh_")
                                  ? Language::kChinese
                                  : Language::kEnglish;
    files.push_back({ReadCorpusArticle(path), language});
  }
  return files;
}

// The marks of the runs, UTF-8: sentence ends, clause marks, quotation
// marks, brackets, blanks and line breaks of the language.
constexpr std::string_view kChineseMarks[] = {
    "。", "，", "、", "！", "？", "；", "：", "…", "“", "”", "（", "）",
    "—", "　", " ", "\n", ",", ".", "!", "〓"};
constexpr std::string_view kEnglishMarks[] = {
    ".", ",", "!", "?", ";", ":", "'", "\"", "(", ")", "-", " ",
    " ", "\n", "...", "〓"};

std::string MarkRun(std::span<const std::string_view> marks, Rng& rng) {
  const std::size_t target = 1 + rng.Below(400);
  std::string run;
  if (rng.Below(2) == 0) {
    const std::string_view mark = marks[rng.Below(marks.size())];
    while (run.size() < target) run += mark;
  } else {
    while (run.size() < target) run += marks[rng.Below(marks.size())];
  }
  return run;
}

}  // namespace

std::vector<NewsArticle> RealNewsArticles() {
  std::vector<NewsArticle> articles;
  for (const CorpusFile& file : ReadCorpus()) {
    const std::string_view joiner = file.language == Language::kChinese ? "" : " ";
    std::string text;
    for (const auto& paragraph : file.paragraphs) {
      if (!text.empty()) text += '\n';
      for (std::size_t i = 0; i < paragraph.size(); ++i) {
        if (i > 0) text += joiner;
        text += paragraph[i];
      }
    }
    articles.push_back({file.language, ToGbk(file.title), ToGbk(ToCrLf(text))});
  }
  for (SampleName name : {SampleName::kInitial, SampleName::kChinese,
                          SampleName::kEnglish}) {
    const Sample& sample = GetSample(name);
    const std::optional<Language> language = ChooseLanguage(sample.text);
    if (!language) Die("a sample of neither language");
    articles.push_back({*language, sample.title, sample.text});
  }
  return articles;
}

GbkText RepeatedArticles(Language language, std::size_t target_bytes) {
  std::vector<NewsArticle> articles = RealNewsArticles();
  std::erase_if(articles, [&](const NewsArticle& a) { return a.language != language; });
  std::string out;
  for (std::size_t i = 0;; i = (i + 1) % articles.size()) {
    std::string piece = out.empty() ? "" : "\r\n";
    piece += articles[i].title.view();
    piece += "\r\n";
    piece += articles[i].text.view();
    if (out.size() + piece.size() > target_bytes) {
      if (out.empty()) out = piece.substr(0, target_bytes);
      return GbkText(std::move(out));
    }
    out += piece;
  }
}

GbkText MarkRunArticles(Language language, std::size_t target_bytes,
                        std::uint64_t seed) {
  std::vector<std::string> sentences;
  for (const CorpusFile& file : ReadCorpus()) {
    if (file.language != language) continue;
    for (const auto& paragraph : file.paragraphs) {
      sentences.insert(sentences.end(), paragraph.begin(), paragraph.end());
    }
  }
  const std::span<const std::string_view> marks =
      language == Language::kChinese ? std::span<const std::string_view>(kChineseMarks)
                                     : std::span<const std::string_view>(kEnglishMarks);
  Rng rng(seed);
  std::string out;
  for (std::size_t i = 0;; i = (i + 1) % sentences.size()) {
    const std::string piece =
        ToGbk(ToCrLf(sentences[i] + MarkRun(marks, rng))).bytes();
    if (out.size() + piece.size() > target_bytes) return GbkText(std::move(out));
    out += piece;
  }
}

}  // namespace quillet::bench
