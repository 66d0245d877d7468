#include "prep/counting_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

struct CountCase {
  Language language;
  std::string before;  // UTF-8, turned into GBK for the run
  std::string after;
};

TEST(MakeCountingTextTest, LeavesWordsBetweenBlanks) {
  const Language zh = Language::kChinese;
  const Language en = Language::kEnglish;
  const std::vector<CountCase> cases = {
      {zh, "他的目的地是北京的大学。改革开放以来，标的物价格上涨（约３０％）。",
       "他 目的地是北京 大学  改革 开放以来 标的物价格上涨 约３０％ "},
      {zh, "的的确确是这样的。", " 的确确是这样  "},
      // Blanks made for "的" and the fences are not reduced again.
      {zh, "好的的的制度", "好    制度 "},
      // Runs of up to four blanks become one, five keep two.
      {zh, "甲    乙     丙", "甲 乙  丙"},
      // Ideographic space and dash go; a single "…", ASCII marks other
      // than the comma, and full-width digits stay.
      {zh, "甲　乙—丙…丁.戊(己)庚,辛１２", "甲 乙 丙…丁.戊(己)庚 辛１２"},
      {zh, "甲〓乙", "甲乙"},
      // Seven blanks in a row shrink to four and then to two.
      {zh, "。，、2024", "  "},

      {en, "The plan of the city is good. It has 3 parts.", "The plan city good It parts "},
      {en, "a of of b and the the c", "a of b the c"},
      // Runs of up to eight blanks become one before words are cut.
      {en, "x        of y", "x y"},
      // Function words only between blanks and in lower case; " if " last.
      {en, "of the Of THE end of", "of Of THE end of"},
      {en, "go 1if it is so if", "go so if"},
      // Digits go after the function words were cut.
      {en, "x of2 y", "x of y"},
      {en, "O'Neil's well-known \"plan\"", "O Neil well-known plan "},
      {en, "a〓b", "ab"},
  };
  for (const CountCase& c : cases) {
    Workspace ws;
    ws.WorkText = G(c.before);
    MakeCountingText(ws, c.language);
    EXPECT_EQ(ws.WorkText, G(c.after)) << c.before << "\n gave [" << U(ws.WorkText) << "]";
  }
}

TEST(MakeCountingTextTest, RuleListsHoldEveryRow) {
  EXPECT_EQ(ChineseCountRules.size(), 37u);
  EXPECT_EQ(EnglishCountRules.size(), 67u);
}

}  // namespace
}  // namespace quillet
