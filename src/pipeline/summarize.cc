#include "pipeline/summarize.h"

#include "prep/counting_text.h"
#include "prep/mark_sentences.h"
#include "prep/sentence_table.h"
#include "select/score_sentences.h"
#include "select/select_summary.h"
#include "terms/chinese_terms.h"
#include "terms/english_words.h"
#include "terms/title_boost.h"
#include "text/text_ops.h"

namespace quillet {

namespace {

const GbkText kDe = "\xB5\xC4";  // 的
const GbkText kE = "e";

// Status pieces: 原文 D4 AD CE C4, 字，摘要 D7 D6 A3 AC D5 AA D2 AA, 字 D7 D6.
const GbkText kOriginal = "\xD4\xAD\xCE\xC4";
const GbkText kCharsSummary = "\xD7\xD6\xA3\xAC\xD5\xAA\xD2\xAA";
const GbkText kChars = "\xD7\xD6";

}  // namespace

std::optional<Language> ChooseLanguage(const GbkText& article) {
  if (FindText(article, kDe) != -1) return Language::kChinese;
  if (FindText(article, kE) != -1) return Language::kEnglish;  // folds "E"
  return std::nullopt;
}

void PrepareCountingText(Workspace& ws, Language language) {
  // Between two stages the front end gets control back (it keeps its
  // commands disabled during a run), so that a long article does not freeze
  // the window before the term statistics show their first progress.
  MarkSentences(ws, language);
  ws.ProcessEvents();
  BuildSentenceTable(ws);
  ws.ProcessEvents();
  TrimSentences(ws, language);
  RebuildWorkText(ws);
  ws.ProcessEvents();
  MakeCountingText(ws, language);
  ws.ProcessEvents();
}

std::optional<Language> Summarize(Workspace& ws) {
  ws.WorkText = ws.fields.content;
  ws.fields.output = GbkText();
  const std::optional<Language> language = ChooseLanguage(ws.WorkText);
  if (!language) return std::nullopt;

  PrepareCountingText(ws, *language);
  if (*language == Language::kChinese) {
    BuildCharList(ws);
    ws.ProcessEvents();
    ExtractChineseTerms(ws);
  } else {
    CountEnglishWords(ws);
  }
  BoostTitleTerms(ws);
  ScoreSentences(ws, *language);
  ws.ProcessEvents();
  SelectSummary(ws, *language);
  ReportLengths(ws, *language);
  return language;
}

void ReportLengths(Workspace& ws, Language language) {
  // The content is read again now: a front end may have changed it.
  int n = TextLength(ws.fields.content);
  int m = TextLength(ws.fields.output);
  if (language == Language::kChinese) {
    n = FloorToInt(n / 2.0);
    m = FloorToInt(m / 2.0);
  }
  ws.fields.status = ConcatText(ConcatText(kOriginal, NumberToText(n)),
                                ConcatText(kCharsSummary, NumberToText(m)),
                                kChars);
}

}  // namespace quillet
