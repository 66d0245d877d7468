// The real news articles of the benchmarks, unvaried: every article of
// bench/corpus and the three built-in samples. From them come the batch of
// real news and the two long inputs where growth with size is worst: the
// articles of one language repeated over and over (many duplicate
// sentences), and their sentences with long runs of punctuation and blanks
// between them.
//
// Cost: the corpus is read from disk on every call; building an input is
// linear in the size asked for.

#ifndef QUILLET_BENCH_NEWS_ARTICLES_H_
#define QUILLET_BENCH_NEWS_ARTICLES_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/gbk_text.h"
#include "workspace/workspace.h"

namespace quillet::bench {

struct NewsArticle {
  Language language;
  GbkText title;
  GbkText text;  // each paragraph on a line, CR LF between lines
};

// Every corpus article in file-name order, then the initial, the Chinese
// and the English sample. Aborts with a message when the corpus cannot be
// read or holds a character that GBK cannot hold.
std::vector<NewsArticle> RealNewsArticles();

// The articles of the language, each as its title line and its text, one
// after another and again from the first, CR LF between them, stopping
// before the article that would pass target_bytes (and cut to it when not
// even the first one fits).
GbkText RepeatedArticles(Language language, std::size_t target_bytes);

// The sentences of the language's corpus articles in turn, each followed by
// a run of punctuation marks, blanks and line breaks of 1 to 400 bytes
// (one mark repeated, or marks drawn at random), up to target_bytes.
// The same arguments give the same bytes on every machine.
GbkText MarkRunArticles(Language language, std::size_t target_bytes,
                        std::uint64_t seed);

}  // namespace quillet::bench

#endif  // QUILLET_BENCH_NEWS_ARTICLES_H_
