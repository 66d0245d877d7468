#include "bench_inputs.h"

#include <cstddef>
#include <cstdint>

#include "joined_articles.h"
#include "news_articles.h"
#include "pipeline/summarize.h"
#include "samples/samples.h"

namespace quillet::bench {

namespace {

struct SampleInput {
  std::string_view name;
  SampleName sample;
};

constexpr SampleInput kSampleInputs[] = {
    {"InitialText", SampleName::kInitial},
    {"ChineseSampleText", SampleName::kChinese},
    {"EnglishSampleText", SampleName::kEnglish},
};

struct JoinedInput {
  std::string_view name;
  Language language;
  std::size_t bytes;
  std::uint64_t seed;
};

constexpr std::size_t kKiB = 1024;
constexpr JoinedInput kJoinedInputs[] = {
    {"zh-64K", Language::kChinese, 64 * kKiB, 0x7A6864},
    {"zh-256K", Language::kChinese, 256 * kKiB, 0x7A68256},
    {"zh-1M", Language::kChinese, 1024 * kKiB, 0x7A681024},
    {"en-64K", Language::kEnglish, 64 * kKiB, 0x656E64},
    {"en-256K", Language::kEnglish, 256 * kKiB, 0x656E256},
    {"en-1M", Language::kEnglish, 1024 * kKiB, 0x656E1024},
};

// The inputs where growth with size is worst: real articles repeated over
// and over (many duplicate sentences), and real sentences between long
// runs of punctuation and blanks.
enum class Build { kRepeated, kMarkRuns };

struct RealInput {
  std::string_view name;
  Build build;
  Language language;
  std::size_t bytes;
};

constexpr RealInput kRealInputs[] = {
    {"zh-repeat-256K", Build::kRepeated, Language::kChinese, 256 * kKiB},
    {"zh-repeat-1M", Build::kRepeated, Language::kChinese, 1024 * kKiB},
    {"en-repeat-256K", Build::kRepeated, Language::kEnglish, 256 * kKiB},
    {"en-repeat-1M", Build::kRepeated, Language::kEnglish, 1024 * kKiB},
    {"zh-marks-256K", Build::kMarkRuns, Language::kChinese, 256 * kKiB},
    {"zh-marks-1M", Build::kMarkRuns, Language::kChinese, 1024 * kKiB},
    {"en-marks-256K", Build::kMarkRuns, Language::kEnglish, 256 * kKiB},
    {"en-marks-1M", Build::kMarkRuns, Language::kEnglish, 1024 * kKiB},
};

// The plain term statistics run on inputs up to this size.
constexpr std::size_t kReferenceLimit = 64 * kKiB;

}  // namespace

const std::vector<std::string>& BenchInputNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const SampleInput& s : kSampleInputs) all.emplace_back(s.name);
    for (const JoinedInput& j : kJoinedInputs) all.emplace_back(j.name);
    for (const RealInput& r : kRealInputs) all.emplace_back(r.name);
    return all;
  }();
  return names;
}

std::optional<BenchInput> MakeBenchInput(std::string_view name) {
  BenchInput input;
  input.name = std::string(name);
  bool found = false;
  for (const SampleInput& s : kSampleInputs) {
    if (s.name != name) continue;
    const Sample& sample = GetSample(s.sample);
    input.title = sample.title;
    input.text = sample.text;
    found = true;
  }
  for (const JoinedInput& j : kJoinedInputs) {
    if (j.name != name) continue;
    JoinedArticle article = JoinArticles(j.language, j.bytes, j.seed);
    input.title = std::move(article.title);
    input.text = std::move(article.text);
    found = true;
  }
  for (const RealInput& r : kRealInputs) {
    if (r.name != name) continue;
    input.text = r.build == Build::kRepeated
                     ? RepeatedArticles(r.language, r.bytes)
                     : MarkRunArticles(r.language, r.bytes, r.bytes);
    const std::vector<NewsArticle> articles = RealNewsArticles();
    for (const NewsArticle& a : articles) {
      if (a.language == r.language) {
        input.title = a.title;
        break;
      }
    }
    found = true;
  }
  if (!found) return std::nullopt;
  input.language = ChooseLanguage(input.text);
  input.times_reference = input.text.size() <= kReferenceLimit;
  return input;
}

Workspace WorkspaceFor(const BenchInput& input) {
  Workspace ws;
  ws.fields.title = input.title;
  ws.fields.content = input.text;
  ws.fields.length_class = 0;
  return ws;
}

}  // namespace quillet::bench
