#include "corpus_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#ifndef QUILLET_BENCH_CORPUS_DIR
#error "QUILLET_BENCH_CORPUS_DIR must name the folder of the corpus articles"
#endif

namespace quillet::bench {

namespace {

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "corpus: %s\n", message.c_str());
  std::abort();
}

}  // namespace

std::vector<std::filesystem::path> CorpusPaths(std::string_view prefix) {
  std::vector<std::filesystem::path> paths;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(QUILLET_BENCH_CORPUS_DIR, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix) && name.ends_with(".txt")) {
      paths.push_back(entry.path());
    }
  }
  if (error || paths.empty()) {
    Die("no " + std::string(prefix) + "*.txt in " + QUILLET_BENCH_CORPUS_DIR);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

CorpusArticle ReadCorpusArticle(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Die("cannot read " + path.string());
  CorpusArticle article;
  std::string line;
  bool in_paragraph = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      in_paragraph = false;
    } else if (article.title.empty()) {
      article.title = line;
    } else {
      if (!in_paragraph) article.paragraphs.emplace_back();
      article.paragraphs.back().push_back(line);
      in_paragraph = true;
    }
  }
  if (article.title.empty() || article.paragraphs.empty()) {
    Die("no title or no paragraph in " + path.string());
  }
  return article;
}

}  // namespace quillet::bench
