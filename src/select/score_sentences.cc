#include "select/score_sentences.h"

#include "text/text_ops.h"

namespace quillet {

namespace {

// The leading terms that count: rows 0..5 of TermTable, whether or not the
// table has that many rows.
constexpr int kLeadingTerms = 6;

enum class SearchIn { kHead, kSentence };

struct Penalty {
  const char* sought;
  SearchIn where;
  double divisor;
};

// Numerals one to ten or "、" among the first two characters mark a list
// item; question words and the full-width question mark mark a question.
// Every test that fires divides once; they run in this order.
constexpr Penalty kChinesePenalties[] = {
    {"\xD2\xBB", SearchIn::kHead, 3},              // 一
    {"\xB6\xFE", SearchIn::kHead, 3},              // 二
    {"\xC8\xFD", SearchIn::kHead, 3},              // 三
    {"\xCB\xC4", SearchIn::kHead, 3},              // 四
    {"\xCE\xE5", SearchIn::kHead, 3},              // 五
    {"\xC1\xF9", SearchIn::kHead, 3},              // 六
    {"\xC6\xDF", SearchIn::kHead, 3},              // 七
    {"\xB0\xCB", SearchIn::kHead, 3},              // 八
    {"\xBE\xC5", SearchIn::kHead, 3},              // 九
    {"\xCA\xAE", SearchIn::kHead, 3},              // 十
    {"\xA1\xA2", SearchIn::kHead, 3},              // 、
    {"\xCA\xC7\xB7\xF1", SearchIn::kSentence, 2},  // 是否
    {"\xC8\xE7\xBA\xCE", SearchIn::kSentence, 2},  // 如何
    {"\xBB\xE1\xB2\xBB\xBB\xE1", SearchIn::kSentence, 2},  // 会不会
    {"\xA3\xBF", SearchIn::kSentence, 10},         // ？
};

// The head of a sentence: its first four bytes, two characters when it
// begins with two-byte characters.
constexpr int kHeadBytes = 4;

constexpr double kEnglishQuestionDivisor = 5;

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

void AddTermCounts(Workspace& ws, int row) {
  const GbkText sentence = ws.SentenceTable.GetCell(row, kTextColumn);
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

void ApplyChinesePenalties(WorkTable& sentences, int row) {
  const GbkText sentence = sentences.GetCell(row, kTextColumn);
  const GbkText head = TextLeft(sentence, kHeadBytes);
  for (const Penalty& penalty : kChinesePenalties) {
    const GbkText& searched =
        penalty.where == SearchIn::kHead ? head : sentence;
    if (FindText(searched, penalty.sought) != -1) {
      DivideScore(sentences, row, penalty.divisor);
    }
  }
}

void ApplyEnglishPenalty(WorkTable& sentences, int row) {
  const GbkText sentence = sentences.GetCell(row, kTextColumn);
  if (TextEquals(TextRight(sentence, 1), "?")) {
    DivideScore(sentences, row, kEnglishQuestionDivisor);
  }
}

}  // namespace

void ScoreSentences(Workspace& ws, Language language) {
  const int rows = ws.SentenceTable.RowCount();
  // The term sum is complete for every row before any penalty applies.
  for (int i = 0; i < rows; ++i) AddTermCounts(ws, i);
  for (int i = 0; i < rows; ++i) {
    if (language == Language::kChinese) {
      ApplyChinesePenalties(ws.SentenceTable, i);
    } else {
      ApplyEnglishPenalty(ws.SentenceTable, i);
    }
  }
}

}  // namespace quillet
