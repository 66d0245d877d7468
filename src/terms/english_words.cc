#include "terms/english_words.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <functional>
#include <vector>

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

struct WordCount {
  std::string_view word;  // into the store of distinct words
  int count;
};

// The distinct words met so far, in the order of first occurrence, with a
// flat table of linear probing over them. A word of a 1 MB article is
// looked up some 170,000 times; std::unordered_map, a node per entry,
// made the whole stage about a third slower there.
class WordCounts {
 public:
  explicit WordCounts(std::size_t text_size) { store_.reserve(text_size); }

  // Counts one more occurrence of word (not empty).
  void Add(std::string_view word) {
    const std::size_t hash = std::hash<std::string_view>{}(word);
    std::size_t slot = hash & Mask();
    for (; slots_[slot] != 0; slot = (slot + 1) & Mask()) {
      WordCount& entry = counts_[slots_[slot] - 1];
      if (entry.word == word) {
        ++entry.count;
        return;
      }
    }
    // Each distinct word is stored once; a reduced word is never longer
    // than the word it came from, so the store never grows past the text
    // and its views stay valid.
    const std::size_t at = store_.size();
    store_.append(word);
    counts_.push_back({std::string_view(store_.data() + at, word.size()), 1});
    slots_[slot] = static_cast<uint32_t>(counts_.size());
    if (counts_.size() * 2 > slots_.size()) Grow();
  }

  const std::vector<WordCount>& counts() const { return counts_; }

 private:
  std::size_t Mask() const { return slots_.size() - 1; }

  void Grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (std::size_t i = 0; i < counts_.size(); ++i) {
      std::size_t slot = std::hash<std::string_view>{}(counts_[i].word) & Mask();
      while (slots_[slot] != 0) slot = (slot + 1) & Mask();
      slots_[slot] = static_cast<uint32_t>(i + 1);
    }
  }

  std::string store_;
  std::vector<WordCount> counts_;
  std::vector<uint32_t> slots_ = std::vector<uint32_t>(1024, 0);  // entry + 1, or 0
};

// Counts each reduced word with the number of words of the whole text that
// equal it byte for byte, in the order of first occurrence, and records the
// frequent long ones in that order. Empty words are never counted.
void CountWords(Workspace& ws, EventPacer& pacer) {
  const std::string_view text = ws.WorkText.view();
  WordCounts words(text.size());
  std::string reduced;
  ForEachWord(text, [&](std::string_view word) {
    pacer.Tick();
    ReduceWord(word, &reduced);
    if (!reduced.empty()) words.Add(reduced);
  });
  pacer.Yield();
  for (const WordCount& c : words.counts()) {
    if (c.count >= kLeastOccurrences && c.word.size() >= kShortestTerm) {
      const int r = ws.TermTable.InsertRow(GbkText(c.word));
      ws.TermTable.SetCell(r, kColumnA, NumberToText(static_cast<int32_t>(c.count)));
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
