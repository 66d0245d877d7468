#include "text/text_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "reference/text_reference.h"
#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

// The bytes of a list of texts, for comparing whole split results.
std::vector<std::string> Bytes(const TextList& list) {
  std::vector<std::string> out;
  for (const GbkText& t : list) out.push_back(t.bytes());
  return out;
}

TEST(TextCutTest, LengthLeftAndRightCountBytes) {
  EXPECT_EQ(TextLength(G("的")), 2);
  EXPECT_EQ(TextLength(GbkText()), 0);
  struct Case {
    GbkText t;
    int n;
    std::string left;
    std::string right;
  };
  const std::vector<Case> cases = {
      {G("a的"), 2, "a\xB5", "\xB5\xC4"},  // cuts fall inside 的
      {"abc", 10, "abc", "abc"},
      {"abc", 3, "abc", "abc"},
      {"abc", 1, "a", "c"},
      {"abc", 0, "", ""},
      {"abc", -3, "", ""},
      {"", 2, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(U(c.t) + " " + std::to_string(c.n));
    EXPECT_EQ(TextLeft(c.t, c.n).bytes(), c.left);
    EXPECT_EQ(TextRight(c.t, c.n).bytes(), c.right);
  }
}

TEST(TextJoinTest, ConcatEqualsBytesAndCharFromCode) {
  EXPECT_EQ(ConcatText("a", "", "b").bytes(), "ab");
  EXPECT_EQ(ConcatText(CharFromCode(0xB5), CharFromCode(0xC4)), G("的"));
  EXPECT_EQ(ConcatText("a", "b", "c", "d").bytes(), "abcd");
  EXPECT_EQ(ConcatText("", "").bytes(), "");
  EXPECT_EQ(CharFromCode(0x41).bytes(), "A");
  EXPECT_EQ(CharFromCode(0).bytes(), "");
  EXPECT_EQ(CharFromCode(0xFF).bytes(), "\xFF");
  EXPECT_TRUE(TextEquals("", ""));
  EXPECT_FALSE(TextEquals("a", "A"));  // no folding
  EXPECT_FALSE(TextEquals("a", "ab"));
  EXPECT_EQ(TextToBytes(G("的a")), "\xB5\xC4" "a");
}

struct FindCase {
  std::string t;
  std::string sought;
  int first;  // FindText: folded
  int last;   // FindTextLast: exact
};

TEST(FindTextTest, PositionsFoldingAndBoundaries) {
  const std::vector<FindCase> cases = {
      {"abc", "", 1, 1},
      {"", "", -1, -1},
      {"", "a", -1, -1},
      {"ab", "abc", -1, -1},
      {"Hello", "LL", 3, -1},
      {"Hello", "ll", 3, 3},
      {"ABC", "abc", 1, -1},
      {"abcabc", "bc", 2, 5},
      {"aaa", "aa", 1, 2},  // overlapping matches count for the last one
      // The second bytes of two-byte characters fold too.
      {"\x81\x61", "\x81\x41", 1, -1},
      {"\xB5\x41\xB5\x61", "\xB5\x61", 1, 3},
      // Only A..Z and a..z fold: 0x40/0x60 and 0x5B/0x7B are other bytes.
      {"@[", "`{", -1, -1},
      // 的的 is B5 C4 B5 C4: the C4 B5 in the middle straddles two
      // characters.
      {"\xB5\xC4\xB5\xC4", "\xC4\xB5", -1, -1},
      {"\xB5\xC4\xC4\xB5", "\xC4\xB5", 3, 3},
      {"a\xC4\xB5", "\xC4\xB5", 2, 2},
      // A match may end inside a character.
      {"\xB5\xC4", "\xB5", 1, 1},
      {"x\xB5\xC4", "x\xB5", 1, 1},
      // A lone final lead byte is a character of its own.
      {"ab\xB5", "\xB5", 3, 3},
      {"\xB5\xB5\xB5", "\xB5", 1, 3},
      // 0x80 and 0xFF lead two-byte characters as well.
      {"\x80\x41\x41", "\x41", 3, 3},
      {"\xFF\x61\x61", "A", 3, -1},
      // A sought text with a letter first, and one with a lead byte first.
      {"xx\xB5\xC4" "Ab", "\xB5\xC4" "aB", 3, -1},
      {"q\xB5\xC4" "ab", "\xB5\xC4" "AB", 2, -1},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(U(c.t) + " / " + U(c.sought));
    EXPECT_EQ(FindText(c.t, c.sought), c.first);
    EXPECT_EQ(FindTextLast(c.t, c.sought), c.last);
  }
}

TEST(FindTextTest, ParityOfLongRunsOfTwoByteCharacters) {
  // 100 characters B0 A1, then A1 B0: every A1 B0 before the end straddles
  // two characters, the one at the end does not.
  std::string t;
  for (int i = 0; i < 100; ++i) t += "\xB0\xA1";
  EXPECT_EQ(FindText(t, "\xA1\xB0"), -1);
  EXPECT_EQ(FindTextLast(t, "\xA1\xB0"), -1);
  EXPECT_EQ(FindText(t + "\xA1\xB0", "\xA1\xB0"), 201);
  // One ASCII byte in front shifts every boundary by one.
  EXPECT_EQ(FindText("a" + t, "\xA1\xB0"), -1);
  // A lone lead byte in front makes B0 B0 one character: every A1 B0 is
  // now at a boundary and no B0 A1 is.
  EXPECT_EQ(FindText("a\xB0" + t, "\xA1\xB0"), 4);
  EXPECT_EQ(FindTextLast("a\xB0" + t, "\xA1\xB0"), 200);
  EXPECT_EQ(FindText("a\xB0" + t, "\xB0\xA1"), -1);
}

struct ReplaceCase {
  std::string t;
  std::string sought;
  std::string replacement;
  std::string expected;
};

TEST(ReplaceAllTest, LeftToRightWithoutOverlapOrRescan) {
  const std::string mark = "\xA1\xFE";  // 〓
  const std::vector<ReplaceCase> cases = {
      {"aaa", "aa", "a", "aa"},
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"abcb", "b", "", "ac"},
      {"Hello", "L", "x", "Hello"},  // exact bytes
      {"ab", "b", "bb", "abb"},      // the replacement is not scanned again
      {mark + mark + mark, mark + mark, mark, mark + mark},
      {mark + mark, mark + mark, mark, mark},
      {"\xB5\xC4\xB5\xC4", "\xC4\xB5", "x", "\xB5\xC4\xB5\xC4"},
      {"a\xB5", "\xB5", "x", "ax"},  // lone final lead byte
      {"\xB5\xC4" "a", "\xB5", "x", "x\xC4" "a"},
      // After a match ending inside a character, the character rule goes on
      // from the byte after the match: C4 61 becomes one character, so the
      // second "a" B5 is not at a boundary.
      {"a\xB5\xC4" "a\xB5", "a\xB5", "X", "X\xC4" "a\xB5"},
      {G("的的的").bytes(), G("的").bytes(), "de", "dedede"},
      {G("说，他").bytes(), G("，").bytes(), G("。").bytes(),
       G("说。他").bytes()},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(U(c.t) + " / " + U(c.sought));
    EXPECT_EQ(ReplaceAll(c.t, c.sought, c.replacement).bytes(), c.expected);
  }
}

struct SplitCase {
  std::string t;
  std::string separator;
  std::vector<std::string> pieces;
};

TEST(SplitTextTest, PieceRules) {
  const std::string m = "\xA1\xFE";  // 〓
  const std::vector<SplitCase> cases = {
      {"", m, {}},
      {"a" + m, m, {"a"}},
      {m, m, {""}},
      {"a" + m + m + "b", m, {"a", "", "b"}},
      {"a" + m + "b" + m, m, {"a", "b"}},
      {"a" + m + "b", m, {"a", "b"}},
      {m + "a", m, {"", "a"}},
      {m + m, m, {"", ""}},
      {"abc", "", {"abc"}},
      {"abc", m, {"abc"}},
      {"aXbxc", "x", {"aXb", "c"}},  // exact bytes
      // FE A1 straddles the two marks.
      {m + m, "\xFE\xA1", {m + m}},
      {"a\xB5\xC4" "a\xB5", "a\xB5", {"", "\xC4" "a\xB5"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(U(c.t) + " / " + U(c.separator));
    EXPECT_EQ(Bytes(SplitText(c.t, c.separator)), c.pieces);
  }
}

TEST(BoundaryScanTest, AgreesWithStepByStepScanOnRandomTexts) {
  // Few distinct bytes, many of them lead bytes, so that straddling
  // matches, lone final lead bytes and folding all occur often.
  const unsigned char alphabet[] = {0x41, 0x61, 0x80, 0xB5, 0xC4, 0xFF};
  std::mt19937 rng(20240601);
  auto random_text = [&](std::size_t max_length) {
    std::string s(rng() % (max_length + 1), ' ');
    for (char& c : s) c = static_cast<char>(alphabet[rng() % 6]);
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string t = random_text(14);
    std::string sought = random_text(3);
    if (sought.empty()) sought = "\xB5";
    const std::string replacement = random_text(2);
    SCOPED_TRACE(U(t) + " / " + U(sought));
    ASSERT_EQ(FindText(t, sought), reference::FindText(t, sought));
    ASSERT_EQ(FindTextLast(t, sought),
              reference::FindTextLast(t, sought));
    ASSERT_EQ(ReplaceAll(t, sought, replacement).bytes(),
              reference::ReplaceAll(t, sought, replacement).bytes());
    ASSERT_EQ(Bytes(SplitText(t, sought)), Bytes(reference::SplitText(t, sought)));
  }
}

TEST(BoundaryScanTest, AgreesWithStepByStepScanOnLongTexts) {
  // Long texts are searched from the byte of the sought text that is
  // rarest in them, not from its first byte: skewed byte frequencies make
  // every byte of the sought text the rarest one in some round.
  const unsigned char alphabet[] = {0x20, 0x41, 0x61, 0x80, 0xB5, 0xC4, 0xFF};
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    std::vector<unsigned> weights;
    for (std::size_t i = 0; i < sizeof alphabet; ++i) weights.push_back(1 + rng() % 40);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::string t(16384 + rng() % 20000, ' ');
    for (char& c : t) c = static_cast<char>(alphabet[pick(rng)]);
    std::string sought(1 + rng() % 4, ' ');
    for (char& c : sought) c = static_cast<char>(alphabet[rng() % sizeof alphabet]);
    SCOPED_TRACE(U(sought));
    ASSERT_EQ(FindTextLast(t, sought), reference::FindTextLast(t, sought));
    ASSERT_EQ(ReplaceAll(t, sought, "\xA1\xFE").bytes(),
              reference::ReplaceAll(t, sought, "\xA1\xFE").bytes());
    ASSERT_EQ(Bytes(SplitText(t, sought)), Bytes(reference::SplitText(t, sought)));
  }
}

TEST(TextToNumberTest, LongestDecimalPrefix) {
  struct Case {
    std::string t;
    double expected;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"abc", 0},
      {"2.5e+002", 250},
      {"  7x", 7},
      {"\t\n\v\f\r 8", 8},
      {"3.9", 3.9},
      {"-0.5", -0.5},
      {"+4", 4},
      {".5", 0.5},
      {"5.", 5},
      {"-.5e1", -5},
      {"1.2.3", 1.2},  // one point only
      {".", 0},
      {"-", 0},
      {"+.e5", 0},
      {"inf", 0},  // only decimal digits make a number
      {"nan", 0},
      {"- 5", 0},  // no blank between sign and digits
      {"5e-005", 0.00005},
      {"1d2", 100},
      {"1D-2", 0.01},
      {"1E2", 100},
      {"1e", 1},  // an exponent needs a digit
      {"1e+", 1},
      {"1ex", 1},
      {"2.5e+x", 2.5},
      {"0.3333333333333", 0.3333333333333},
      {"1e-007", 1e-7},
      {"007", 7},
      // Full-width digits, signs and point, and the full-width blank.
      {G("１２．５").bytes(), 12.5},
      {G("－３").bytes(), -3},
      {G("　　４２元").bytes(), 42},
      {G("３Ｅ２").bytes(), 300},
      {G("的5").bytes(), 0},
      // Full-width "~" and "*" are not part of a number.
      {"\xA1\xAB" "5", 0},
      {"\xA1\xEE" "5", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(U(c.t));
    EXPECT_EQ(TextToNumber(c.t), c.expected);
  }
}

TEST(TextToNumberTest, OutOfRangeGivesInfinityOrZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(TextToNumber("1e400"), inf);
  EXPECT_EQ(TextToNumber("-1e400"), -inf);
  EXPECT_EQ(TextToNumber("123456789e99999999999999999999"), inf);
  EXPECT_EQ(TextToNumber("1e-400"), 0.0);
  EXPECT_EQ(TextToNumber("0.000001e-99999999999999999999"), 0.0);
  EXPECT_EQ(TextToNumber("0e99999999999999"), 0.0);
  EXPECT_EQ(TextToNumber("5e-324"), 5e-324);  // smallest subnormal
  EXPECT_EQ(TextToNumber(std::string(400, '9')), inf);
}

TEST(TextToIntTest, SignAndLeadingDigits) {
  struct Case {
    std::string t;
    int32_t expected;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"3.9", 3},
      {"2.9", 2},
      {"-0.5", 0},
      {"5e-005", 5},
      {"1e-007", 1},
      {"1.5e+015", 1},
      {"-12abc", -12},
      {"+7", 7},
      {"  42", 42},
      {"x1", 0},
      {"999999", 999999},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"-99999999999999999999", std::numeric_limits<int32_t>::min()},
      {G("　１２３").bytes(), 123},
      {G("－４５").bytes(), -45},
      {G("５.５").bytes(), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(U(c.t));
    EXPECT_EQ(TextToInt(c.t), c.expected);
  }
}

TEST(NumberToTextTest, IntegersInDecimal) {
  EXPECT_EQ(NumberToText(int32_t{0}).bytes(), "0");
  EXPECT_EQ(NumberToText(int32_t{999999}).bytes(), "999999");
  EXPECT_EQ(NumberToText(int32_t{-17}).bytes(), "-17");
  EXPECT_EQ(NumberToText(std::numeric_limits<int32_t>::min()).bytes(),
            "-2147483648");
}

TEST(NumberToTextTest, DoublesWithThirteenDigits) {
  struct Case {
    double x;
    std::string text;
  };
  const std::vector<Case> cases = {
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {7.0 / 3, "2.333333333333"},
      {0.1, "0.1"},
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
      {123456789012345.0, "1.234567890123e+014"},
      {-2.5, "-2.5"},
      {3.0, "3"},
      {0.0, "0"},
      {-0.0, "0"},
      {1000, "1000"},
      {9999999999999.0, "9999999999999"},
      {0.00099999999999999, "0.001"},  // the carry changes the exponent
      {0.000099999999999999, "0.0001"},
      {0.00001234, "1.234e-005"},
      {1.5e300, "1.5e+300"},
      {std::numeric_limits<double>::max(), "1.797693134862e+308"},
      {std::numeric_limits<double>::denorm_min(), "4.940656458412e-324"},
      {std::nan(""), "nan"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NumberToText(c.x).bytes(), c.text);
  }
}

TEST(NumberToTextTest, RoundTripThroughTextKeepsThirteenDigits) {
  EXPECT_EQ(TextToNumber(NumberToText(1.0 / 3)), 0.3333333333333);
  EXPECT_NE(TextToNumber(NumberToText(1.0 / 3)), 1.0 / 3);
  // Once rounded, a value is stored unchanged by every later round trip,
  // and its integer key is that of the rounded text.
  const std::vector<double> values = {1.0 / 3, 2.0 / 3, 1.0 / 1440, 0.00005,
                                      1.99999999999999, 123456789012345.0,
                                      -7.0 / 9, 6.02214076e23};
  for (double x : values) {
    const GbkText once = NumberToText(x);
    SCOPED_TRACE(once.bytes());
    EXPECT_EQ(NumberToText(TextToNumber(once)), once);
  }
  EXPECT_EQ(TextToInt(NumberToText(1.99999999999999)), 2);
  EXPECT_EQ(TextToInt(NumberToText(0.00005)), 5);
}

TEST(NumberConversionTest, DoubleToIntTruncatesAndSaturates) {
  struct Case {
    double x;
    int32_t expected;
  };
  const std::vector<Case> cases = {
      {2.9, 2},
      {-2.9, -2},
      {0.0, 0},
      {-0.5, 0},
      {2147483647.9, 2147483647},
      {1e20, 2147483647},
      {-2147483648.0, std::numeric_limits<int32_t>::min()},
      {-1e20, std::numeric_limits<int32_t>::min()},
      {std::numeric_limits<double>::infinity(), 2147483647},
      {std::nan(""), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(DoubleToInt(c.x), c.expected);
  }
}

TEST(NumberConversionTest, FloorToIntSnapsJustBelowAWholeNumber) {
  struct Case {
    double x;
    int32_t expected;
  };
  const std::vector<Case> cases = {
      {2.5, 2},
      {2.9999999999995, 3},
      {2.9999999999985, 2},  // 1.5e-12 below 3 is too far to snap
      {0.0, 0},
      {0.9999999999999, 1},
      {7.0, 7},
      {1e20, 2147483647},
      {std::nan(""), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(FloorToInt(c.x), c.expected);
  }
}

}  // namespace
}  // namespace quillet
