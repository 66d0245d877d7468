// quillet_bench_corpus: writes benchmark inputs as files, for the command
// line front end and for a look at what the benchmarks summarise.
//   quillet_bench_corpus text INPUT   the input's article, UTF-8, LF
//   quillet_bench_corpus jsonl COUNT  COUNT articles of 4 to 16 KB, Chinese
//                                     and English in turn, one JSON object
//                                     {"title": ..., "article": ...} a line
// Output goes to standard output and is the same on every run.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "bench_inputs.h"
#include "codec/gbk_codec.h"
#include "joined_articles.h"

namespace {

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s text INPUT | jsonl COUNT\n", program);
  return 2;
}

int WriteText(std::string_view name) {
  const auto input = quillet::bench::MakeBenchInput(name);
  if (!input) return 2;
  std::cout << quillet::FieldToUtf8(input->text) << '\n';
  return 0;
}

int WriteJsonl(int count) {
  for (int i = 0; i < count; ++i) {
    const auto language =
        i % 2 == 0 ? quillet::Language::kChinese : quillet::Language::kEnglish;
    const std::size_t bytes = 4096 + (static_cast<std::size_t>(i) * 7919) % 12289;
    const auto article =
        quillet::bench::JoinArticles(language, bytes, 0x6A736F6E + i);
    const nlohmann::json line = {{"title", quillet::FieldToUtf8(article.title)},
                                 {"article", quillet::FieldToUtf8(article.text)}};
    std::cout << line.dump() << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage(argv[0]);
  const std::string_view command = argv[1];
  if (command == "text") return WriteText(argv[2]) == 0 ? 0 : Usage(argv[0]);
  if (command == "jsonl") {
    const int count = std::atoi(argv[2]);
    if (count <= 0) return Usage(argv[0]);
    return WriteJsonl(count);
  }
  return Usage(argv[0]);
}
