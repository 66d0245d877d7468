#include "terms/english_words.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "terms/distinct_numbers.h"
#include "terms/event_pacer.h"
#include "terms/term_table.h"
#include "text/gbk_char.h"
#include "text/text_ops.h"

namespace quillet {

namespace {

constexpr std::size_t kShortestTerm = 3;  // bytes

const GbkText kNoProgress = "0%";

struct SuffixRule {
  std::string_view suffix;
  std::size_t cut;            // bytes removed from the end of the word
  std::string_view appended;  // text put in their place
};

// Tried in this order; the first suffix that ends the word decides. Each
// row gives the suffix and what is put in place of the cut bytes as GBK
// bytes; the comment shows the row as text.
constexpr SuffixRule kSuffixRules[] = {
    {"\x6E\x65\x73\x73", 4, ""},  //  1  ness -> (nothing)
    {"\x6C\x65\x73\x73", 4, ""},  //  2  less -> (nothing)
    {"\x69\x65\x73", 3, "\x79"},  //  3  ies -> y
    {"\x6C\x79", 2, ""},          //  4  ly -> (nothing)
    {"\x69\x6E\x67", 3, ""},      //  5  ing -> (nothing)
    {"\x73", 1, ""},              //  6  s -> (nothing)
};

// True when the last occurrence of suffix at a character boundary of word
// takes up its final bytes, letter case respected: the bytes match at the
// end and the end stretch starts on a boundary (no later start could hold
// the suffix).
bool EndsWith(std::string_view word, std::string_view suffix) {
  if (word.size() < suffix.size()) return false;
  const std::size_t p = word.size() - suffix.size();
  // Byte by byte: the suffixes are a few bytes long, and this runs for
  // every word of the text, where a library call per suffix costs more.
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (word[p + i] != suffix[i]) return false;
  }
  return IsCharBoundary(word, 0, p);
}

// The word as the suffix rules leave it, in *out.
void ReduceWord(std::string_view word, std::string* out) {
  for (const SuffixRule& rule : kSuffixRules) {
    if (EndsWith(word, rule.suffix)) {
      out->assign(word.substr(0, word.size() - rule.cut));
      out->append(rule.appended);
      return;
    }
  }
  out->assign(word);
}

// Calls piece(text) for every piece that SplitText(t, " ") gives: the
// bytes between blanks that stand on character boundaries, empty pieces
// included, and no empty piece after a final blank.
template <typename Piece>
void ForEachWord(std::string_view t, Piece piece) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < t.size()) {
    if (t[i] == ' ') {
      piece(t.substr(start, i - start));
      start = ++i;
    } else {
      i += CharWidthAt(t, i);
    }
  }
  if (start < t.size()) piece(t.substr(start));
}

// Counts each reduced word with the number of words of the whole text that
// equal it byte for byte, in the order of first occurrence, and records the
// frequent long ones in that order. Empty words are never counted.
void CountWords(Workspace& ws, EventPacer& pacer) {
  const std::string_view text = ws.WorkText.view();
  // Each distinct word is stored once; a reduced word is never longer than
  // the word it came from, so the store never grows past the text and the
  // kept views into it stay valid.
  std::string store;
  store.reserve(text.size());
  DistinctNumbers<std::string_view> words;
  std::vector<int> counts;  // per word number
  std::string reduced;
  ForEachWord(text, [&](std::string_view word) {
    pacer.Tick();
    ReduceWord(word, &reduced);
    if (reduced.empty()) return;
    const uint32_t number = words.Number(
        std::hash<std::string_view>{}(reduced),
        [&](std::string_view kept) { return kept == reduced; },
        [&] {
          const std::size_t at = store.size();
          store.append(reduced);
          return std::string_view(store.data() + at, reduced.size());
        });
    if (number == counts.size()) counts.push_back(0);
    ++counts[number];
  });
  pacer.Yield();
  for (uint32_t n = 0; n < words.size(); ++n) {
    const std::string_view word = words.key(n);
    if (counts[n] >= kLeastOccurrences && word.size() >= kShortestTerm) {
      const int r = ws.TermTable.InsertRow(GbkText(word));
      ws.TermTable.SetCell(r, kColumnA, NumberToText(static_cast<int32_t>(counts[n])));
    }
  }
}

}  // namespace

void CountEnglishWords(Workspace& ws) {
  ws.TermTable.DeleteAllRows();
  EventPacer pacer(ws);
  CountWords(ws, pacer);
  ws.fields.status = kNoProgress;
  ws.TermTable.SortByKey(kColumnA);
  // A word made by the "ies" rule may not occur in the counting text; it is
  // then left out of the keyword line.
  WriteKeywordsFoundIn(ws, ws.WorkText);
}

}  // namespace quillet
