// Long articles for the benchmarks, joined from the short original articles
// of bench/corpus (UTF-8, one sentence a line, a blank line between
// paragraphs, the title on the first line).
//
// Each piece of a joined article is one corpus article varied on its own:
// names, places and companies swapped for others of their kind (the same
// way throughout the piece), numbers and dates drawn anew, words exchanged
// for a synonym, some paragraphs and sentences left out, neighbouring
// sentences swapped, clauses exchanged between the sentences of an article
// and linking phrases put before some. A big input thus reads like many
// reports on a handful of topics joined together, with the recurring terms
// such a collection has. No sentence occurs twice: the summary keeps only
// the first copy of a sentence, so joining one article over and over would
// make every later copy dead weight. A sentence that comes out as a copy is
// varied anew, and left out when that keeps failing; the biggest inputs
// therefore hold more varied sentences (openers, exchanged clauses) and
// fewer of the fixed ones (quotations) than the small ones.
//
// Cost: linear in the size asked for; the corpus is read from disk on every
// call.

#ifndef QUILLET_BENCH_JOINED_ARTICLES_H_
#define QUILLET_BENCH_JOINED_ARTICLES_H_

#include <cstddef>
#include <cstdint>

#include "workspace/workspace.h"
#include "text/gbk_text.h"

namespace quillet::bench {

struct JoinedArticle {
  GbkText title;  // the title of the first piece
  GbkText text;   // the pieces in turn, each paragraph on a line, CR LF
};

// A joined article of the language, at most target_bytes GBK bytes long and
// short of it by less than one paragraph. The same arguments give the same
// bytes on every machine and every run (the generator draws from its own
// seeded PRNG). Each piece opens with its title on a line of its own.
// Aborts with a message when the corpus cannot be read or holds a character
// that GBK cannot hold: a fault of the corpus, not of a caller.
JoinedArticle JoinArticles(Language language, std::size_t target_bytes,
                           std::uint64_t seed);

}  // namespace quillet::bench

#endif  // QUILLET_BENCH_JOINED_ARTICLES_H_
