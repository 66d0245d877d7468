#include "prep/mark_sentences.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

struct MarkCase {
  Language language;
  std::string before;  // UTF-8, turned into GBK for the run
  std::string after;
};

TEST(MarkSentencesTest, MarksEverySentenceEnd) {
  const Language zh = Language::kChinese;
  const Language en = Language::kEnglish;
  const std::vector<MarkCase> cases = {
      // Reporting comma, the deleted connective, "！".
      {zh, "他说，今年经济增长较快。与此同时，物价保持稳定！",
       "他说。〓今年经济增长较快。〓物价保持稳定！〓"},
      // Four full stops become one sentence end, five become two.
      {zh, "甲。。。。乙", "甲。〓乙"},
      {zh, "甲。。。。。乙", "甲。〓。〓乙"},
      // Only "。" moves its mark behind a closing quotation mark.
      {zh, "“好。”他走了", "“好。”〓他走了"},
      {zh, "“好！”他走了", "“好！〓”他走了"},
      {zh, "“好？”他走了", "“好？〓”他走了"},
      // Line breaks, ASCII points with a blank, ASCII commas; 3.5 stays.
      {zh, "第一行\r\n第二行", "第一行。〓第二行"},
      {zh, "增长3.5倍. 然后,再说", "增长3.5倍。〓然后，再说"},
      // Two-character ellipsis only; "；" and "？" too; colon to comma.
      {zh, "等等……然后…再；问？答：好", "等等……〓然后…再；〓问？〓答，好"},
      // Marks already in the text are kept, runs of them reduced.
      {zh, "甲〓〓〓乙。〓丙", "甲〓乙。〓丙"},
      // No sentence end, no mark.
      {zh, "没有标点的文字", "没有标点的文字"},

      {en, "He said, the plan works. Costs rose 3.5 percent!",
       "He  said.〓 the plan works.〓 Costs rose 3.〓5 percent!〓"},
      // Contractions and possessives; capitals are left alone.
      {en, "China's plan. I don't go", "China is plan.〓 I don  not go"},
      {en, "Li'S plan. DON'T go", "Li'S plan.〓 DON'T go"},
      {en, "Yes, said Li. Li says, no", "Yes.〓 Li.〓 Li says.〓 no"},
      {en, "Said, yes", "Said, yes"},
      {en, "Say, yes, say it. They say, no. I know that, yes",
       "Say, yes.〓 it.〓 They say.〓 no.〓 I know that.〓 yes"},
      // Four points are one sentence end; a closing quotation mark moves
      // in front of the mark only after ".".
      {en, "Wait.... Go", "Wait.〓 Go"},
      {en, "\"Go.\" He left! \"Why?\" Then; a: b",
       "\"Go.\"〓 He left!〓 \"Why?〓\" Then;〓 a, b"},
      {en, "Line one\r\nLine two", "Line one.〓Line two"},
  };
  for (const MarkCase& c : cases) {
    Workspace ws;
    ws.WorkText = G(c.before);
    MarkSentences(ws, c.language);
    EXPECT_EQ(ws.WorkText, G(c.after))
        << c.before << "\n gave " << U(ws.WorkText);
  }
}

TEST(MarkSentencesTest, RuleListsHoldEveryRow) {
  EXPECT_EQ(ChineseMarkRules.size(), 27u);
  EXPECT_EQ(EnglishMarkRules.size(), 20u);
}

}  // namespace
}  // namespace quillet
