// The table-driven codec against iconv doing the same conversions over
// whole stretches (tests/reference/iconv_codec.h): every code point, every
// byte pair, and random mixtures of characters, marks and broken bytes.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codec/gbk_codec.h"
#include "codec/utf8.h"
#include "reference/iconv_codec.h"

namespace quillet {
namespace {

void ExpectSameAsIconv(std::string_view utf8) {
  std::size_t replaced = 0;
  std::size_t reference_replaced = 0;
  const GbkText gbk = Utf8ToGbk(utf8, &replaced);
  const GbkText expected = reference::Utf8ToGbk(utf8, &reference_replaced);
  ASSERT_EQ(gbk, expected);
  ASSERT_EQ(replaced, reference_replaced);
}

TEST(CodecReferenceTest, CodePointsConvertAsIconvConvertsThem) {
  // Every BMP code point, the tag characters, and every 61st code point
  // beyond the BMP; all of them in a row, then some between ASCII letters,
  // in pieces so that a difference is easy to find.
  const auto tested = [](std::uint32_t cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    return cp <= 0xFFFF || (cp >= 0xE0000 && cp <= 0xE00FF) || cp % 61 == 0;
  };
  for (std::uint32_t first = 0; first <= 0x10FFFF; first += 0x1000) {
    std::string run;
    std::string spaced;
    for (std::uint32_t cp = first; cp < first + 0x1000; ++cp) {
      if (!tested(cp)) continue;
      run += Utf8Of(cp);
      if (cp % 7 == 0) spaced += "a" + Utf8Of(cp) + "b";
    }
    SCOPED_TRACE(first);
    ExpectSameAsIconv(run);
    ExpectSameAsIconv(spaced);
  }
}

TEST(CodecReferenceTest, EveryBytePairConvertsAsIconvConvertsIt) {
  std::string pairs;
  std::string spaced;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      pairs += pair;
      spaced += pair + "a";
    }
  }
  const std::string_view all = pairs;
  EXPECT_EQ(GbkToUtf8(all), reference::GbkToUtf8(all));
  EXPECT_EQ(GbkToUtf8(all.substr(1)), reference::GbkToUtf8(all.substr(1)));
  EXPECT_EQ(GbkToUtf8(spaced), reference::GbkToUtf8(spaced));
  for (int b = 0x00; b <= 0xFF; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(GbkToUtf8(one), reference::GbkToUtf8(one)) << b;
  }
}

TEST(CodecReferenceTest, MixedTextsConvertAsIconvConvertsThem) {
  // Pieces drawn at random: ASCII (letters and runs of it), Chinese, marks,
  // the euro sign, U+0000, characters GBK lacks, a dropped tag character,
  // stray and truncated sequences; on the GBK side, bytes at random.
  const std::vector<std::string> pieces = {
      "a", "Z", " ", "\r\n", "的", "。", "，", "“", "€", std::string(1, '\0'),
      "😀", "\xF3\xA0\x80\x81", "\xE2\x82", "\x80", "\xC0\xAF", "\xED\xA0\x80",
      "é", "ü", "ß", "─", "〓", "\xEF\xBF\xBD", "a run of plain ASCII text, "};
  std::uint64_t state = 0x636F646563;
  const auto next = [&state] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::size_t>(state >> 33);
  };
  for (int round = 0; round < 300; ++round) {
    std::string utf8;
    std::string bytes;
    const std::size_t length = next() % 64;
    for (std::size_t i = 0; i < length; ++i) {
      utf8 += pieces[next() % pieces.size()];
      bytes += static_cast<char>(next() % 256);
    }
    ExpectSameAsIconv(utf8);
    // The one-pass conversion gives up exactly where the text is not plain
    // UTF-8, and otherwise agrees.
    const bool plain = !FindInvalidUtf8(utf8) && utf8.find('\0') == std::string::npos;
    const std::optional<GbkText> strict = WellFormedUtf8ToGbk(utf8);
    ASSERT_EQ(strict.has_value(), plain);
    if (plain) {
      EXPECT_EQ(*strict, Utf8ToGbk(utf8));
    }
    EXPECT_EQ(GbkToUtf8(bytes), reference::GbkToUtf8(bytes));
    const GbkText gbk = Utf8ToGbk(utf8);
    EXPECT_EQ(GbkToUtf8(gbk.view()), reference::GbkToUtf8(gbk.view()));
  }
}

}  // namespace
}  // namespace quillet
