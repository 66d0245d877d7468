#include "codec/encoding_detect.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace quillet {
namespace {

// "江。" and a line break in each encoding; its GBK form is BD AD A1 A3 0A.
constexpr char kGbk[] = "\xBD\xAD\xA1\xA3\n";
constexpr char kUtf8[] = "\xE6\xB1\x9F\xE3\x80\x82\n";
constexpr char kUtf16Le[] = "\x5F\x6C\x02\x30\x0A\x00";
constexpr char kUtf16Be[] = "\x6C\x5F\x30\x02\x00\x0A";
// U+1F600, which GBK lacks, in GB18030 and UTF-16 LE.
constexpr char kEmojiGb18030[] = "\x94\x39\xFC\x36";
constexpr char kEmojiUtf16Le[] = "\x3D\xD8\x00\xDE";

std::string Bytes(const char* literal, std::size_t size) { return std::string(literal, size); }
std::string Le(const char (&literal)[7]) { return Bytes(literal, 6); }
std::string Be(const char (&literal)[7]) { return Bytes(literal, 6); }

TEST(DecodeTextTest, ReadsEachEncodingWithAndWithoutItsMark) {
  struct Case {
    const char* what;
    std::string bytes;
    TextEncoding encoding;
    std::string gbk;
    ReadEncoding read_as;
    std::size_t replaced = 0;
    bool guessed = false;
  };
  const auto kAuto = TextEncoding::kAuto;
  const std::vector<Case> cases = {
      {"UTF-8", kUtf8, kAuto, kGbk, ReadEncoding::kUtf8},
      {"UTF-8 with mark", std::string("\xEF\xBB\xBF") + kUtf8, kAuto, kGbk, ReadEncoding::kUtf8},
      {"UTF-16 LE with mark", "\xFF\xFE" + Le(kUtf16Le), kAuto, kGbk, ReadEncoding::kUtf16Le},
      {"UTF-16 BE with mark", "\xFE\xFF" + Be(kUtf16Be), kAuto, kGbk, ReadEncoding::kUtf16Be},
      {"GBK, guessed", kGbk, kAuto, kGbk, ReadEncoding::kGb18030, 0, true},
      {"GB18030 beyond GBK", std::string(kGbk) + kEmojiGb18030, kAuto, std::string(kGbk) + "?",
       ReadEncoding::kGb18030, 1, true},
      {"GB18030 with mark", std::string("\x84\x31\x95\x33") + kGbk, kAuto, kGbk,
       ReadEncoding::kGb18030},
      {"UTF-16 pair beyond GBK", "\xFF\xFE" + Bytes(kEmojiUtf16Le, 4), kAuto, "?",
       ReadEncoding::kUtf16Le, 1},
      {"empty", "", kAuto, "", ReadEncoding::kUtf8},
      {"mark alone", "\xEF\xBB\xBF", kAuto, "", ReadEncoding::kUtf8},

      {"forced UTF-8 with mark", std::string("\xEF\xBB\xBF") + kUtf8, TextEncoding::kUtf8, kGbk,
       ReadEncoding::kUtf8},
      {"forced GBK takes bytes as they are", "\xFF\x80\x1B", TextEncoding::kGbk, "\xFF\x80\x1B",
       ReadEncoding::kGbk},
      {"forced GBK drops GB18030's mark", std::string("\x84\x31\x95\x33") + kGbk,
       TextEncoding::kGbk, kGbk, ReadEncoding::kGbk},
      {"forced GB18030 allows control characters", std::string("\x0C") + kGbk,
       TextEncoding::kGb18030, std::string("\x0C") + kGbk, ReadEncoding::kGb18030},
      {"forced UTF-16 without mark", Le(kUtf16Le), TextEncoding::kUtf16, kGbk,
       ReadEncoding::kUtf16Le},
      {"forced UTF-16 follows its mark", "\xFE\xFF" + Be(kUtf16Be), TextEncoding::kUtf16, kGbk,
       ReadEncoding::kUtf16Be},
  };
  for (const Case& c : cases) {
    DecodedText decoded;
    std::string error;
    ASSERT_TRUE(DecodeText(c.bytes, c.encoding, &decoded, &error)) << c.what << ": " << error;
    EXPECT_EQ(decoded.text.bytes(), c.gbk) << c.what;
    EXPECT_EQ(decoded.encoding, c.read_as) << c.what;
    EXPECT_EQ(decoded.replaced, c.replaced) << c.what;
    EXPECT_EQ(decoded.guessed_after.has_value(), c.guessed) << c.what;
  }
}

TEST(DecodeTextTest, GuessTellsWhereUtf8Ended) {
  DecodedText decoded;
  std::string error;
  ASSERT_TRUE(DecodeText(std::string("ab ") + kGbk, TextEncoding::kAuto, &decoded, &error));
  EXPECT_EQ(decoded.guessed_after, 3u);
}

TEST(DecodeTextTest, RefusalsNameTheOffsetAndTheLikelyCause) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::string error;
  };
  const auto kAuto = TextEncoding::kAuto;
  const std::vector<Case> cases = {
      // Chinese UTF-16 without a mark is GB18030 up to its punctuation.
      {Le(kUtf16Le), kAuto,
       "not UTF-8 or GB18030 text: byte 0x02 at offset 2 (likely UTF-16 without a byte-order "
       "mark)"},
      {Be(kUtf16Be), kAuto,
       "not UTF-8 or GB18030 text: byte 0x02 at offset 3 (likely UTF-16 without a byte-order "
       "mark)"},
      // English UTF-16 without a mark is UTF-8 with NUL bytes.
      {Bytes("e\0n\0d\0", 6), kAuto,
       "not UTF-8 or GB18030 text: byte 0x00 at offset 1 (likely UTF-16 without a byte-order "
       "mark)"},
      {Bytes("\x89PNG\r\n\x1A\n\0\0\0", 11), kAuto,
       "not UTF-8 or GB18030 text: byte 0x1A at offset 6 (likely a binary file, not text)"},
      {Bytes("The\0end", 7), kAuto,
       "not UTF-8 or GB18030 text: byte 0x00 at offset 3 (likely a binary file, not text)"},
      {"caf\x80 au lait", kAuto,
       "not UTF-8 or GB18030 text: byte 0x80 at offset 3 (likely an encoding other than UTF-8, "
       "GB18030 and UTF-16)"},
      {"\xEF\xBB\xBF" "ab\xFF", kAuto, "invalid UTF-8 at byte offset 5"},
      {"\xFF\xFE" "a", kAuto, "invalid UTF-16 at byte offset 2 (an odd number of bytes)"},
      {Bytes("\xFF\xFE\x00\xDC", 4), kAuto,
       "invalid UTF-16 at byte offset 2 (an unpaired surrogate)"},
      {Bytes("\xFE\xFF\xD8\x3D\x00\x41", 6), kAuto,
       "invalid UTF-16 at byte offset 2 (an unpaired surrogate)"},
      {Bytes("\xFF\xFE" "a\0\0\0", 6), kAuto, "NUL character at byte offset 4"},
      {"\x84\x31\x95\x33\x81", kAuto, "invalid GB18030 at byte offset 4"},

      {"ok \xE7\x9A", TextEncoding::kUtf8, "invalid UTF-8 at byte offset 3"},
      {Bytes("ab\0", 3), TextEncoding::kUtf8, "NUL byte at offset 2"},
      {Bytes("\xBD\xAD\0", 3), TextEncoding::kGbk, "NUL byte at offset 2"},
      {"\xBD\xAD\x80", TextEncoding::kGb18030, "invalid GB18030 at byte offset 2"},
      {"\xBD\xAD\x81\x30", TextEncoding::kGb18030, "invalid GB18030 at byte offset 2"},
      {Bytes("\xBD\0", 2), TextEncoding::kGb18030, "NUL byte at offset 1"},
      {"\x5F\x6C\x02", TextEncoding::kUtf16,
       "invalid UTF-16 at byte offset 2 (an odd number of bytes)"},
  };
  for (const Case& c : cases) {
    DecodedText decoded;
    std::string error;
    EXPECT_FALSE(DecodeText(c.bytes, c.encoding, &decoded, &error)) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

// Each thread decodes GB18030 with a descriptor of its own.
TEST(DecodeTextTest, DecodesOnSeveralThreadsAtOnce) {
  std::string input;
  for (int i = 0; i < 2000; ++i) input += kGbk;
  std::vector<std::thread> threads;
  std::vector<int> good(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < 20; ++k) {
        DecodedText decoded;
        std::string error;
        good[t] += DecodeText(input, TextEncoding::kAuto, &decoded, &error) &&
                   decoded.text.bytes() == input;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(good, std::vector<int>(4, 20));
}

}  // namespace
}  // namespace quillet
