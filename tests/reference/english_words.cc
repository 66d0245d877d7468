#include "reference/english_words.h"

#include <cstdint>

#include "text/text_ops.h"

namespace quillet::reference {

namespace {

constexpr int kLeastOccurrences = 3;
constexpr int kShortestTerm = 3;  // bytes
constexpr int kKeywordCount = 3;

const GbkText kBlank = " ";
const GbkText kKeywordsCaption = "\xB9\xD8\xBC\xFC\xB4\xCA\xA3\xBA ";  // 关键词：
const GbkText kNoProgress = "0%";

struct SuffixRule {
  const char* suffix;
  int cut;               // bytes removed from the end of the word
  const char* appended;  // text put in their place
};

// Tried in this order; the first suffix that ends the word decides.
constexpr SuffixRule kSuffixRules[] = {
    {"ness", 4, ""},
    {"less", 4, ""},
    {"ies", 3, "y"},
    {"ly", 2, ""},
    {"ing", 3, ""},
    {"s", 1, ""},
};

// True when the last occurrence of suffix takes up the final bytes of
// word, letter case respected. A word without any occurrence never ends
// with it, also when its length makes the expected position -1.
bool EndsWith(const GbkText& word, const GbkText& suffix) {
  const int last = FindTextLast(word, suffix);
  return last != -1 && last == TextLength(word) - TextLength(suffix) + 1;
}

GbkText ReduceWord(const GbkText& word) {
  for (const SuffixRule& rule : kSuffixRules) {
    if (EndsWith(word, rule.suffix)) {
      return ConcatText(TextLeft(word, TextLength(word) - rule.cut),
                        rule.appended);
    }
  }
  return word;
}

// Counts each word once, at its first position, with the number of
// positions of the whole list that hold it exactly, and records the
// frequent long ones in that order. Counted positions are emptied, so a
// later position of a counted word (and any empty piece) counts 0.
void CountWords(Workspace& ws, TextList& words) {
  const int s_count = static_cast<int>(words.size());
  for (int i = 1; i <= s_count; ++i) {
    const GbkText cur = words[i - 1];
    int c = 0;
    for (int j = i; j <= s_count; ++j) {
      GbkText& word = words[j - 1];
      if (!word.empty() && TextEquals(word, cur)) {
        ++c;
        word = GbkText();
      }
    }
    ws.ProcessEvents();
    if (c >= kLeastOccurrences && TextLength(cur) >= kShortestTerm) {
      const int r = ws.TermTable.InsertRow(cur);
      ws.TermTable.SetCell(r, kColumnA, NumberToText(static_cast<int32_t>(c)));
    }
    ws.ProcessEvents();
  }
}

// "关键词： " and those of the first three words that occur in the counting
// text, each followed by a blank. A word made by the "ies" rule may not
// occur there; a missing row reads "", found in any non-empty text.
void WriteKeywords(Workspace& ws) {
  ws.fields.keywords = kKeywordsCaption;
  for (int row = 0; row < kKeywordCount; ++row) {
    const GbkText& t = ws.TermTable.GetCell(row, kTextColumn);
    if (FindText(ws.WorkText, t) != -1) {
      ws.fields.keywords = ConcatText(ws.fields.keywords, t, kBlank);
    }
  }
}

}  // namespace

void CountEnglishWords(Workspace& ws) {
  ws.TermTable.DeleteAllRows();
  TextList words = SplitText(ws.WorkText, kBlank);
  for (GbkText& word : words) word = ReduceWord(word);
  CountWords(ws, words);
  ws.fields.status = kNoProgress;
  ws.TermTable.SortByKey(kColumnA);
  WriteKeywords(ws);
}

}  // namespace quillet::reference
