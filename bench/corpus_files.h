// The articles of bench/corpus as the benchmark inputs read them, and the
// seeded random numbers that vary them. A corpus file holds the title on
// its first line, then one sentence a line, a blank line between
// paragraphs. Shared by the joined articles and the real-news inputs.
//
// Cost: reading is linear in the size of the corpus; every failure (a
// missing folder, a file without title or paragraph) aborts the process
// with a message, as befits a benchmark input that cannot be made.

#ifndef QUILLET_BENCH_CORPUS_FILES_H_
#define QUILLET_BENCH_CORPUS_FILES_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet::bench {

// One corpus article, UTF-8.
struct CorpusArticle {
  std::string title;
  std::vector<std::vector<std::string>> paragraphs;  // sentences
};

// The corpus files whose names start with prefix and end in ".txt", sorted
// by name (directory order is not stable). Aborts when there are none.
std::vector<std::filesystem::path> CorpusPaths(std::string_view prefix);

// The article of one corpus file. Aborts when it cannot be read or has no
// title or no paragraph.
CorpusArticle ReadCorpusArticle(const std::filesystem::path& path);

// SplitMix64: tiny, fast and fully defined, so that an input is the same on
// every machine (the distributions of <random> are not).
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1 for n >= 1; the modulo bias is far below anything that matters.
  std::size_t Below(std::size_t n) { return Next() % n; }
  bool Percent(int p) { return Below(100) < static_cast<std::size_t>(p); }

  template <typename T>
  void Shuffle(std::vector<T>& v) {
    for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[Below(i)]);
  }

 private:
  std::uint64_t state_;
};

}  // namespace quillet::bench

#endif  // QUILLET_BENCH_CORPUS_FILES_H_
