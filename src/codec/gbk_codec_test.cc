#include "codec/gbk_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace quillet {
namespace {

constexpr char kFffd[] = "\xEF\xBF\xBD";

TEST(FindInvalidUtf8Test, ReportsTheFirstBadByte) {
  struct Case {
    std::string text;
    std::optional<std::size_t> offset;
  };
  const std::vector<Case> cases = {
      {"", std::nullopt},
      {"plain ASCII\r\n", std::nullopt},
      {"\xE7\x9A\x84 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", std::nullopt},  // 的, U+1F600, U+10FFFF
      {std::string("a\0b", 3), std::nullopt},  // U+0000 is well-formed
      {"ab\x80", 2},                          // stray continuation byte
      {"a\xC0\xAF", 1},                       // overlong "/"
      {"a\xE0\x80\xAF", 1},                   // overlong three-byte form
      {"a\xF0\x80\x80\xAF", 1},               // overlong four-byte form
      {"x\xED\xA0\x80", 1},                   // surrogate U+D800
      {"\xF4\x90\x80\x80", 0},                // above U+10FFFF
      {"\xF5\x80\x80\x80", 0},                // lead byte beyond any code point
      {"\xE7\x9A", 0},                        // truncated at the end
      {"\xE7\x9A" "a", 0},                    // truncated before ASCII
      {"ok\xFF", 2},
      // After ASCII runs that the check steps over eight bytes at a time.
      {"seventeen letters\x80", 17},
      {"eight by\xE7\x9A", 8},
      {"eight by\x80 and more", 8},
      {std::string("an ASCII run\0with NUL, then \xC0\xAF", 30), 28},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindInvalidUtf8(c.text), c.offset) << c.text;
  }
}

TEST(Utf8ToGbkTest, ConvertsAndCountsReplacements) {
  struct Case {
    std::string utf8;
    std::string gbk;
    std::size_t replaced;
  };
  const std::vector<Case> cases = {
      {"", "", 0},
      {"abc\r\n", "abc\r\n", 0},
      {"\xE7\x9A\x84", "\xB5\xC4", 0},          // 的
      {"\xE2\x82\xAC", "\x80", 0},              // euro sign, CP936 0x80
      {"\xE3\x80\x93", "\xA1\xFE", 0},          // 〓
      {"\xEF\xBC\x9F", "\xA3\xBF", 0},          // ？
      // U+1F600 and a Hangul syllable that GBK cannot hold, between
      // characters that it can: each becomes "?" and the rest survives.
      {"\xE7\x9A\x84\xF0\x9F\x98\x80x\xEA\xB0\x80\xE7\x9A\x84",
       "\xB5\xC4?x?\xB5\xC4", 2},
      {std::string("a\0b", 3), "a?b", 1},       // U+0000: a GbkText has no 0x00
      {"a\xC3", "a?", 1},                      // ill-formed: one "?" per byte
      {"\xE7\x9A" "a", "??a", 2},
  };
  for (const Case& c : cases) {
    std::size_t replaced = 99;
    EXPECT_EQ(Utf8ToGbk(c.utf8, &replaced).bytes(), c.gbk) << c.utf8;
    EXPECT_EQ(replaced, c.replaced) << c.utf8;
  }
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80").bytes(), "?");  // count not wanted
}

TEST(GbkToUtf8Test, ReplacesEachBadByteAndGoesOn) {
  struct Case {
    std::string gbk;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"\xB5\xC4" "e", "\xE7\x9A\x84" "e"},
      {"\x80", "\xE2\x82\xAC"},
      {"\xFF" "a", std::string(kFffd) + "a"},
      {"a\xB5", "a" + std::string(kFffd)},               // lone first byte at the end
      {"\x81\x30\xB5\xC4", std::string(kFffd) + "0\xE7\x9A\x84"},  // bad second byte
      {"\xB5\xC4\xFF\xFF\xB5\xC4",
       "\xE7\x9A\x84" + std::string(kFffd) + kFffd + "\xE7\x9A\x84"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.gbk;
  }
}

// Every byte and byte pair that GBK holds as a character.
std::string AllGbkCharacters() {
  std::string all;
  for (int b = 1; b <= 0x80; ++b) all += static_cast<char>(b);
  for (int first = 0x81; first <= 0xFE; ++first) {
    for (int second = 0x40; second <= 0xFE; ++second) {
      const std::string pair = {static_cast<char>(first), static_cast<char>(second)};
      if (GbkToUtf8(pair).find(kFffd) == std::string::npos) all += pair;
    }
  }
  return all;
}

TEST(GbkCodecTest, WellFormedGbkRoundTrips) {
  const std::string all = AllGbkCharacters();
  ASSERT_GT(all.size(), 2 * 21000u);  // the whole repertoire, not a stray few
  const std::string utf8 = GbkToUtf8(all);
  EXPECT_EQ(FindInvalidUtf8(utf8), std::nullopt);
  EXPECT_EQ(utf8.find(kFffd), std::string::npos);
  std::size_t replaced = 99;
  EXPECT_TRUE(Utf8ToGbk(utf8, &replaced).bytes() == all);
  EXPECT_EQ(replaced, 0u);
}

TEST(GbkCodecTest, ConvertsOnSeveralThreadsAtOnce) {
  const std::string text = "\xE7\x9A\x84\xF0\x9F\x98\x80 abc \xE2\x82\xAC";
  std::vector<std::thread> threads;
  std::vector<int> good(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        std::size_t replaced = 0;
        const GbkText gbk = Utf8ToGbk(text, &replaced);
        if (gbk.bytes() == "\xB5\xC4? abc \x80" && replaced == 1 &&
            GbkToUtf8(gbk.bytes()) == "\xE7\x9A\x84? abc \xE2\x82\xAC") {
          ++good[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(good[t], 500) << "thread " << t;
}

TEST(LineBreakTest, ToCrLfAndToLf) {
  struct Case {
    std::string in;
    std::string crlf;
    std::string lf;
  };
  const std::vector<Case> cases = {
      {"", "", ""},
      {"a\nb", "a\r\nb", "a\nb"},
      {"a\r\nb", "a\r\nb", "a\nb"},
      {"a\rb", "a\r\nb", "a\nb"},
      {"\r\r\n\n\r", "\r\n\r\n\r\n\r\n", "\n\n\n\n"},
      {"a\n\rb", "a\r\n\r\nb", "a\n\nb"},  // LF then a lone CR: two breaks
      {"x\r", "x\r\n", "x\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToCrLf(c.in), c.crlf);
    EXPECT_EQ(ToLf(c.in), c.lf);
  }
}

TEST(FieldFormTest, LineBreaksAndReplacementsBothWays) {
  struct Case {
    std::string utf8;
    std::string field;       // Utf8ToField of utf8
    std::size_t replaced;
    std::string back;        // FieldToUtf8 of field
  };
  const std::vector<Case> cases = {
      {"", "", 0, ""},
      {"a\nb\r\nc\rd", "a\r\nb\r\nc\r\nd", 0, "a\nb\nc\nd"},
      {"\xE7\x9A\x84\r", "\xB5\xC4\r\n", 0, "\xE7\x9A\x84\n"},  // 的, lone CR
      // Neither an emoji nor U+0000 has a GBK form; each is one "?".
      {"\xF0\x9F\x98\x80\n", "?\r\n", 1, "?\n"},
      {std::string("a\0\n", 3), "a?\r\n", 1, "a?\n"},
  };
  for (const Case& c : cases) {
    std::size_t replaced = 99;
    EXPECT_EQ(Utf8ToField(c.utf8, &replaced).bytes(), c.field) << c.utf8;
    EXPECT_EQ(replaced, c.replaced) << c.utf8;
    EXPECT_EQ(FieldToUtf8(GbkText(c.field)), c.back) << c.utf8;
  }
  // A first byte with a line break behind it is no character: U+FFFD, and
  // the break stays a break.
  EXPECT_EQ(FieldToUtf8(GbkText("\xB5\r\n\xB5\r\xB5")),
            "\xEF\xBF\xBD\n\xEF\xBF\xBD\n\xEF\xBF\xBD");
}

// The window changed the line breaks after converting, the command line
// before; every field of up to four bytes drawn from first bytes, second
// bytes, lone bytes and line breaks converts the same both ways.
TEST(FieldFormTest, LineBreaksCommuteWithTheConversion) {
  const std::string alphabet = "\r\n\x81\xB5\xC4\x80\xFF" "a@";
  std::vector<std::string> fields = {""};
  for (std::size_t begin = 0, length = 0; length < 4; ++length) {
    const std::size_t end = fields.size();
    for (std::size_t i = begin; i < end; ++i) {
      for (char c : alphabet) fields.push_back(fields[i] + c);
    }
    begin = end;
  }
  for (const std::string& field : fields) {
    ASSERT_EQ(FieldToUtf8(GbkText(field)), ToLf(GbkToUtf8(field))) << field;
  }
}

}  // namespace
}  // namespace quillet
