// The fast matching operations against the plain reference versions, on
// pseudo-random texts over a small alphabet that stresses the character
// rule (lead bytes 0x80..0xFF that pair with ASCII or with each other) and
// letter-case folding; rule lists against ReplaceAll of the reference rule
// by rule; and the reference versions on the documented cases.

#include "reference/text_reference.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "prep/counting_text.h"
#include "prep/mark_sentences.h"
#include "samples/samples.h"
#include "terms/title_boost.h"
#include "text/rule_list.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

std::string Hex(const GbkText& t) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < t.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", t.byte(i));
    if (i > 0) out += ' ';
    out += buf;
  }
  return "[" + out + "]";
}

GbkText RandomText(std::mt19937& rng, std::size_t max_length) {
  static constexpr unsigned char kAlphabet[] = {'a',  'A',  'b',  0x80, 0x81,
                                                0xB5, 0xC4, 0xA1, 0xFE};
  std::string bytes(rng() % (max_length + 1), ' ');
  for (char& c : bytes) c = static_cast<char>(kAlphabet[rng() % sizeof kAlphabet]);
  return GbkText(bytes);
}

TEST(TextReferenceTest, FastOperationsAgreeOnRandomTexts) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 4000; ++i) {
    // Every other text is long enough for the scans that look at 16 places
    // at a time, with matches on both sides of each block's edge.
    const GbkText t = RandomText(rng, i % 2 == 0 ? 14 : 70);
    const GbkText sought = RandomText(rng, 3);
    const GbkText replacement = RandomText(rng, 3);
    SCOPED_TRACE("t=" + Hex(t) + " sought=" + Hex(sought) +
                 " replacement=" + Hex(replacement));
    EXPECT_EQ(FindText(t, sought), reference::FindText(t, sought));
    EXPECT_EQ(FindTextLast(t, sought), reference::FindTextLast(t, sought));
    EXPECT_EQ(ReplaceAll(t, sought, replacement),
              reference::ReplaceAll(t, sought, replacement));
    EXPECT_EQ(SplitText(t, sought), reference::SplitText(t, sought));
    if (HasFailure()) break;  // one reported case says enough
  }
}

// What a rule list must give: the reference ReplaceAll, rule by rule.
GbkText ReferenceRules(GbkText t, RuleList rules) {
  for (const ReplacementRule& rule : rules) {
    t = reference::ReplaceAll(t, GbkText(rule.sought), GbkText(rule.replacement));
  }
  return t;
}

GbkText Applied(GbkText t, RuleList rules) {
  ApplyRules(t, rules);
  return t;
}

std::string Show(RuleList rules) {
  std::string out;
  for (const ReplacementRule& rule : rules) {
    out += Hex(GbkText(rule.sought)) + "->" + Hex(GbkText(rule.replacement)) + " ";
  }
  return out;
}

TEST(TextReferenceTest, RuleListsAgreeOnRandomTextsAndRules) {
  // Rules that shrink, keep or grow the text, pass over it, halve runs, or
  // turn one ASCII byte into another in runs (which are applied as one
  // walk), over texts where lead bytes pair with ASCII.
  static constexpr unsigned char kAlphabet[] = {' ', '0', '1', 'a', 0x80,
                                                0xA1, 0xFE, 0xB5};
  std::mt19937 rng(20261211);
  const auto random_bytes = [&](std::size_t min, std::size_t max) {
    std::string bytes(min + rng() % (max - min + 1), ' ');
    for (char& c : bytes) c = static_cast<char>(kAlphabet[rng() % sizeof kAlphabet]);
    return bytes;
  };
  for (int i = 0; i < 3000; ++i) {
    std::vector<std::string> storage;
    const std::size_t count = 1 + rng() % 8;
    for (std::size_t r = 0; r < count; ++r) {
      if (rng() % 3 == 0) {  // one ASCII byte into another
        storage.push_back(std::string(1, "01a "[rng() % 4]));
        storage.push_back(std::string(1, "01a "[rng() % 4]));
      } else {
        storage.push_back(random_bytes(1, 3));
        storage.push_back(random_bytes(0, 4));
      }
    }
    std::vector<ReplacementRule> rules;
    for (std::size_t r = 0; r < storage.size(); r += 2) {
      rules.push_back({storage[r], storage[r + 1]});
    }
    const GbkText t(random_bytes(0, i % 2 == 0 ? 40 : 120));
    SCOPED_TRACE("t=" + Hex(t) + " rules=" + Show(rules));
    EXPECT_EQ(Applied(t, rules), ReferenceRules(t, rules));
    if (HasFailure()) break;
  }
}

TEST(TextReferenceTest, ProductRuleListsAgreeOnTheirOwnMarks) {
  // Each list on the samples, and on texts made of its own sought and
  // replacement texts, blanks, CR LF and lone lead bytes in random order.
  const std::vector<RuleList> lists = {ChineseMarkRules, EnglishMarkRules,
                                       ChineseCountRules, EnglishCountRules,
                                       TitleCleanRules};
  std::mt19937 rng(1211);
  for (const RuleList rules : lists) {
    for (SampleName sample : {SampleName::kInitial, SampleName::kChinese,
                              SampleName::kEnglish}) {
      const GbkText& text = GetSample(sample).text;
      EXPECT_EQ(Applied(text, rules), ReferenceRules(text, rules));
    }
    std::vector<std::string_view> pieces = {" ", "  ", "\r\n", "\xB5", "x", "S"};
    for (const ReplacementRule& rule : rules) {
      pieces.push_back(rule.sought);
      if (!rule.replacement.empty()) pieces.push_back(rule.replacement);
    }
    for (int i = 0; i < 300; ++i) {
      std::string bytes;
      for (std::size_t n = rng() % 60; n > 0; --n) bytes += pieces[rng() % pieces.size()];
      const GbkText t(bytes);
      SCOPED_TRACE("t=" + Hex(t));
      EXPECT_EQ(Applied(t, rules), ReferenceRules(t, rules));
      if (HasFailure()) return;
    }
  }
}

TEST(TextReferenceTest, ProductRuleListsAgreeOnLongTexts) {
  // Over 256 KiB, where the rule passes count bytes but record no pairs.
  const std::vector<RuleList> lists = {ChineseMarkRules, EnglishMarkRules,
                                       ChineseCountRules, EnglishCountRules};
  std::mt19937 rng(20261212);
  for (const RuleList rules : lists) {
    std::vector<std::string_view> pieces = {" ", "  ", "\r\n", "x", "S",
                                            "\xD6\xD0\xB9\xFA"};  // 中国
    for (const ReplacementRule& rule : rules) pieces.push_back(rule.sought);
    std::string bytes;
    while (bytes.size() < (300u << 10)) bytes += pieces[rng() % pieces.size()];
    const GbkText t(bytes);
    EXPECT_EQ(Applied(t, rules), ReferenceRules(t, rules));
  }
}

// The reference itself on the cases the rules spell out, so that an
// agreement above means agreement with the rules.
TEST(TextReferenceTest, FindsAsDocumented) {
  struct Case {
    GbkText t, sought;
    int first, last;
  };
  const std::vector<Case> cases = {
      {"abc", "", 1, 1},
      {"", "", -1, -1},
      {"", "a", -1, -1},
      {"Hello", "LL", 3, -1},
      {"aaa", "aa", 1, 2},
      {"\x81\x61", "\x81\x41", 1, -1},          // second bytes fold
      {"\xB5\xC4\xB5\xC4", "\xC4\xB5", -1, -1},  // 的的: straddles two characters
      {"a\xB5", "\xB5", 2, 2},                  // a lone lead byte at the end
      {"\xB5" "a\xB5", "a", -1, -1},            // "a" is the second byte of B5 61
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.t) + " " + Hex(c.sought));
    EXPECT_EQ(reference::FindText(c.t, c.sought), c.first);
    EXPECT_EQ(reference::FindTextLast(c.t, c.sought), c.last);
  }
}

TEST(TextReferenceTest, ReplacesAndSplitsAsDocumented) {
  const GbkText mark = "\xA1\xFE";  // 〓
  struct Replace {
    GbkText t, sought, replacement, expected;
  };
  const std::vector<Replace> replaces = {
      {"aaa", "aa", "a", "aa"},
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"\xA1\xFE\xA1\xFE\xA1\xFE", "\xA1\xFE\xA1\xFE", "\xA1\xFE",
       "\xA1\xFE\xA1\xFE"},                        // 〓〓〓 -> 〓〓
      {"\xB5\xC4\xB5\xC4", "\xC4\xB5", "x", "\xB5\xC4\xB5\xC4"},
      {"ab\xB5", "\xB5", "", "ab"},                // a lone lead byte matches
  };
  for (const Replace& c : replaces) {
    EXPECT_EQ(reference::ReplaceAll(c.t, c.sought, c.replacement), c.expected)
        << Hex(c.t) << " " << Hex(c.sought);
  }
  struct Split {
    GbkText t;
    TextList pieces;
  };
  const std::vector<Split> splits = {
      {"", {}},
      {"a\xA1\xFE", {"a"}},
      {"\xA1\xFE", {""}},
      {"\xA1\xFE" "a", {"", "a"}},
      {"a\xA1\xFE\xA1\xFE" "b", {"a", "", "b"}},
      {"a\xA1\xFE" "b\xA1\xFE", {"a", "b"}},
  };
  for (const Split& c : splits) {
    EXPECT_EQ(reference::SplitText(c.t, mark), c.pieces) << Hex(c.t);
  }
  EXPECT_EQ(reference::SplitText("abc", ""), TextList{"abc"});
}

TEST(TextReferenceTest, RoundsToThirteenDigits) {
  const std::vector<std::pair<double, double>> cases = {
      {1.0 / 3, 0.3333333333333},
      {2.0 / 3, 0.6666666666667},
      {1.9999999999999998, 2},
      {1234567890122.5, 1234567890123},
      {9999999999999.5, 1e13},
      {123456789012345, 123456789012300},
      {-2.5, -2.5},
      {0.00005, 0.00005},
      {0, 0},
  };
  for (const auto& [x, rounded] : cases) {
    EXPECT_EQ(reference::RoundTo13Digits(x), rounded) << x;
  }
}

TEST(TextReferenceTest, WritesNumbersAsDocumented) {
  const std::vector<std::pair<double, GbkText>> cases = {
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {7.0 / 3, "2.333333333333"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 1440, "0.0006944444444444"},
      {0.0001, "0.0001"},
      {0.00005, "5e-005"},
      {0.0000001, "1e-007"},
      {1.9999999999999998, "2"},
      {999999, "999999"},
      {1234567.5, "1234567.5"},
      {1234567890122.5, "1234567890123"},
      {9999999999999.5, "1e+013"},
      {1e15, "1e+015"},
      {123456789012345, "1.234567890123e+014"},
      {-2.5, "-2.5"},
      {0, "0"},
      {1e300, "1e+300"},
  };
  for (const auto& [x, text] : cases) {
    EXPECT_EQ(reference::NumberToText(x), text) << x;
  }
}

}  // namespace
}  // namespace quillet
