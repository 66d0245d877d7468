#include "text/rule_list.h"

#include <gtest/gtest.h>

#include <array>

namespace quillet {
namespace {

GbkText Applied(GbkText text, RuleList rules) {
  ApplyRules(text, rules);
  return text;
}

TEST(ApplyRulesTest, RulesApplyInOrderEachToTheWholeText) {
  // 〓 is A1 FE. A repeated halving rule shortens longer runs each pass.
  constexpr std::array<ReplacementRule, 3> kRules = {{
      {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 〓〓 -> 〓
      {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 〓〓 -> 〓
      {"\xA1\xFE", "|"},                 // 〓 -> |
  }};
  EXPECT_EQ(Applied("a\xA1\xFE\xA1\xFE\xA1\xFE\xA1\xFE" "b", kRules).bytes(),
            "a|b");
  // Eight marks need three halving passes: two leave two of them.
  std::string eight;
  for (int i = 0; i < 8; ++i) eight += "\xA1\xFE";
  EXPECT_EQ(Applied(eight, kRules).bytes(), "||");

  // A later rule sees what an earlier one wrote.
  constexpr std::array<ReplacementRule, 2> kChain = {{{"a", "b"}, {"bb", ""}}};
  EXPECT_EQ(Applied("abc", kChain).bytes(), "c");
  EXPECT_EQ(Applied("xyz", RuleList()).bytes(), "xyz");
}

}  // namespace
}  // namespace quillet
