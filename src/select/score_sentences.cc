#include "select/score_sentences.h"

#include <span>
#include <string_view>

#include "text/text_ops.h"

namespace quillet {

namespace {

// The leading terms that count: rows 0..5 of TermTable, whether or not the
// table has that many rows.
constexpr int kLeadingTerms = 6;

// Where a penalty looks for its text.
enum class SearchIn {
  kHead,      // the first four bytes: two characters when they are two-byte
  kSentence,  // anywhere in the sentence, letter case ignored
  kLastByte,  // the last byte, exactly
};

struct Penalty {
  std::string_view sought;
  SearchIn where;
  double divisor;
};

// One row per test, in the order they run; every test that fires divides
// the score once, however often its text occurs. The sought text is given
// as GBK bytes; the comment shows it as text.
//
// Chinese: numerals one to ten or "、" at the head mark a list item;
// question words and the full-width question mark mark a question.
constexpr Penalty kChinesePenalties[] = {
    {"\xD2\xBB", SearchIn::kHead, 3},                      //  1  一
    {"\xB6\xFE", SearchIn::kHead, 3},                      //  2  二
    {"\xC8\xFD", SearchIn::kHead, 3},                      //  3  三
    {"\xCB\xC4", SearchIn::kHead, 3},                      //  4  四
    {"\xCE\xE5", SearchIn::kHead, 3},                      //  5  五
    {"\xC1\xF9", SearchIn::kHead, 3},                      //  6  六
    {"\xC6\xDF", SearchIn::kHead, 3},                      //  7  七
    {"\xB0\xCB", SearchIn::kHead, 3},                      //  8  八
    {"\xBE\xC5", SearchIn::kHead, 3},                      //  9  九
    {"\xCA\xAE", SearchIn::kHead, 3},                      // 10  十
    {"\xA1\xA2", SearchIn::kHead, 3},                      // 11  、
    {"\xCA\xC7\xB7\xF1", SearchIn::kSentence, 2},          // 12  是否
    {"\xC8\xE7\xBA\xCE", SearchIn::kSentence, 2},          // 13  如何
    {"\xBB\xE1\xB2\xBB\xBB\xE1", SearchIn::kSentence, 2},  // 14  会不会
    {"\xA3\xBF", SearchIn::kSentence, 10},                 // 15  ？
};

// English: a sentence that ends with "?" is a question; a "?" elsewhere,
// or a full-width "？" at the end, has no effect.
constexpr Penalty kEnglishPenalties[] = {
    {"\x3F", SearchIn::kLastByte, 5},  //  1  ?
};

constexpr int kHeadBytes = 4;

// The score lives only in its cell: each change reads and parses the text,
// computes in double precision and writes the text back, so every
// intermediate value is rounded to its NumberToText form.
void AddToScore(WorkTable& sentences, int row, double amount) {
  const double score = TextToNumber(sentences.GetCell(row, kColumnA));
  sentences.SetCell(row, kColumnA, NumberToText(score + amount));
}

void DivideScore(WorkTable& sentences, int row, double divisor) {
  const double score = TextToNumber(sentences.GetCell(row, kColumnA));
  sentences.SetCell(row, kColumnA, NumberToText(score / divisor));
}

// Writing a row's score leaves its text cell where it is, so the sentence
// is read in place.
void AddTermCounts(Workspace& ws, int row) {
  const GbkText& sentence = ws.SentenceTable.GetCell(row, kTextColumn);
  for (int j = 0; j < kLeadingTerms; ++j) {
    // A missing row reads as the empty term, which is found in any
    // non-empty sentence and adds its empty count, 0.
    const GbkText& term = ws.TermTable.GetCell(j, kTextColumn);
    if (FindText(sentence, term) != -1) {
      AddToScore(ws.SentenceTable, row,
                 TextToNumber(ws.TermTable.GetCell(j, kColumnA)));
    }
  }
}

// Whether the penalty's text stands where it looks in the sentence; head
// is the sentence's first kHeadBytes bytes.
bool Fires(const Penalty& penalty, const GbkText& sentence, const GbkText& head) {
  const GbkText sought(penalty.sought);
  switch (penalty.where) {
    case SearchIn::kHead:
      return FindText(head, sought) != -1;
    case SearchIn::kSentence:
      return FindText(sentence, sought) != -1;
    case SearchIn::kLastByte:
      return TextEquals(TextRight(sentence, 1), sought);
  }
  return false;
}

void ApplyPenalties(WorkTable& sentences, int row, std::span<const Penalty> penalties) {
  const GbkText& sentence = sentences.GetCell(row, kTextColumn);
  const GbkText head = TextLeft(sentence, kHeadBytes);
  for (const Penalty& penalty : penalties) {
    if (Fires(penalty, sentence, head)) DivideScore(sentences, row, penalty.divisor);
  }
}

}  // namespace

void ScoreSentences(Workspace& ws, Language language) {
  const int rows = ws.SentenceTable.RowCount();
  // The term sum is complete for every row before any penalty applies.
  for (int i = 0; i < rows; ++i) AddTermCounts(ws, i);
  const std::span<const Penalty> penalties =
      language == Language::kChinese ? std::span<const Penalty>(kChinesePenalties)
                                     : std::span<const Penalty>(kEnglishPenalties);
  for (int i = 0; i < rows; ++i) ApplyPenalties(ws.SentenceTable, i, penalties);
}

}  // namespace quillet
