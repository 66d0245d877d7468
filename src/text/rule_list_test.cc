#include "text/rule_list.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace quillet {
namespace {

// The text with the rules applied.
std::string Applied(GbkText text, RuleList rules) {
  ApplyRules(text, rules);
  return text.bytes();
}

TEST(ApplyRulesTest, RulesApplyInOrderEachToTheWholeText) {
  // 〓 is A1 FE. A repeated halving rule shortens longer runs each pass.
  constexpr std::array<ReplacementRule, 3> kRules = {{
      {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 〓〓 -> 〓
      {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 〓〓 -> 〓
      {"\xA1\xFE", "|"},                 // 〓 -> |
  }};
  EXPECT_EQ(Applied("a\xA1\xFE\xA1\xFE\xA1\xFE\xA1\xFE" "b", kRules), "a|b");
  // Eight marks need three halving passes: two leave two of them.
  std::string eight;
  for (int i = 0; i < 8; ++i) eight += "\xA1\xFE";
  EXPECT_EQ(Applied(eight, kRules), "||");

  // A later rule sees what an earlier one wrote.
  constexpr std::array<ReplacementRule, 2> kChain = {{{"a", "b"}, {"bb", ""}}};
  EXPECT_EQ(Applied("abc", kChain), "c");
  EXPECT_EQ(Applied("xyz", RuleList()), "xyz");
}

}  // namespace
}  // namespace quillet
