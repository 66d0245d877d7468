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
#include "pipeline/summarize.h"
#include "samples/samples.h"

#ifndef QUILLET_BENCH_CORPUS_DIR
#error "QUILLET_BENCH_CORPUS_DIR must name the folder of the corpus articles"
#endif

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

// One corpus file: the title on the first line, then one sentence a line
// and a blank line between paragraphs.
struct CorpusFile {
  Language language;
  std::string title;
  std::vector<std::vector<std::string>> paragraphs;
};

CorpusFile ReadCorpusFile(const std::filesystem::path& path) {
  CorpusFile file;
  file.language = path.filename().string().starts_with("zh_")
                      ? Language::kChinese
                      : Language::kEnglish;
  std::ifstream in(path, std::ios::binary);
  if (!in) Die("cannot read " + path.string());
  std::string line;
  bool in_paragraph = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      in_paragraph = false;
    } else if (file.title.empty()) {
      file.title = line;
    } else {
      if (!in_paragraph) file.paragraphs.emplace_back();
      file.paragraphs.back().push_back(line);
      in_paragraph = true;
    }
  }
  if (file.title.empty() || file.paragraphs.empty()) {
    Die("no title or no paragraph in " + path.string());
  }
  return file;
}

std::vector<CorpusFile> ReadCorpus() {
  std::vector<std::filesystem::path> paths;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(QUILLET_BENCH_CORPUS_DIR, error)) {
    if (entry.path().extension() == ".txt") paths.push_back(entry.path());
  }
  if (error || paths.empty()) {
    Die(std::string("no articles in ") + QUILLET_BENCH_CORPUS_DIR);
  }
  std::sort(paths.begin(), paths.end());  // directory order is not stable
  std::vector<CorpusFile> files;
  for (const auto& path : paths) files.push_back(ReadCorpusFile(path));
  return files;
}

// SplitMix64, as in joined_articles.cc: the same numbers on every machine.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::size_t Below(std::size_t n) {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (z ^ (z >> 31)) % n;
  }

 private:
  std::uint64_t state_;
};

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
