#include "samples/samples.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "codec/gbk_codec.h"
#include "pipeline/summarize.h"
#include "samples/embedded_texts.h"
#include "text/gbk_char.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

struct Shape {
  std::size_t bytes = 0;          // all bytes, CR LF pairs included
  std::size_t characters = 0;     // two-byte characters count one
  std::size_t ascii_letters = 0;
  std::size_t line_breaks = 0;    // CR LF pairs
  std::size_t lone_breaks = 0;    // a CR or LF that is not part of a pair
  std::size_t blank_line_ends = 0;  // blank or tab before a break or the end
};

Shape Measure(const GbkText& t) {
  Shape s;
  s.bytes = t.size();
  const std::string& b = t.bytes();
  for (std::size_t i = 0; i < b.size(); ++i) {
    const unsigned char c = t.byte(i);
    ++s.characters;
    if (CharWidthAt(b, i) == 2) {
      ++i;
      continue;
    }
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ++s.ascii_letters;
    if (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n') {
      ++s.line_breaks;
      ++i;
    } else if (c == '\r' || c == '\n') {
      ++s.lone_breaks;
    }
    const bool at_line_end = i + 1 == b.size() || b[i + 1] == '\r' || b[i + 1] == '\n';
    if ((c == ' ' || c == '\t') && at_line_end) ++s.blank_line_ends;
  }
  return s;
}

bool Near(std::size_t actual, std::size_t nominal) {
  return actual * 10 >= nominal * 9 && actual * 10 <= nominal * 11;
}

struct TextCase {
  const char* name;
  const GbkText& text;
  std::string_view utf8;   // the embedded file
  std::size_t bytes;       // nominal sizes, met within 10 %
  std::size_t characters;  // 0: not checked
  std::size_t ascii_letters;  // 0: not checked
  std::size_t line_breaks;    // exact
};

std::vector<TextCase> AllTexts() {
  const Sample& initial = GetSample(SampleName::kInitial);
  const Sample& chinese = GetSample(SampleName::kChinese);
  const Sample& english = GetSample(SampleName::kEnglish);
  return {
      {"InitialTitle", initial.title, embedded::kInitialTitle, 44, 23, 0, 0},
      {"InitialText", initial.text, embedded::kInitialText, 2248, 1151, 0, 16},
      {"ChineseSampleTitle", chinese.title, embedded::kChineseSampleTitle, 24, 12, 0, 0},
      {"ChineseSampleText", chinese.text, embedded::kChineseSampleText, 7896, 4306, 553, 24},
      {"EnglishSampleTitle", english.title, embedded::kEnglishSampleTitle, 49, 49, 0, 0},
      {"EnglishSampleText", english.text, embedded::kEnglishSampleText, 2385, 2385, 0, 9},
      {"ContactLine", ContactLine(), embedded::kContactLine, 0, 0, 0, 0},
  };
}

TEST(SamplesTest, TextsHaveTheirSizesAndLineShape) {
  for (const TextCase& c : AllTexts()) {
    SCOPED_TRACE(c.name);
    const Shape s = Measure(c.text);
    ASSERT_FALSE(c.text.empty());
    if (c.bytes != 0) {
      EXPECT_TRUE(Near(s.bytes, c.bytes)) << s.bytes << " bytes";
    }
    if (c.characters != 0) {
      EXPECT_TRUE(Near(s.characters, c.characters)) << s.characters << " characters";
    }
    if (c.ascii_letters != 0) {
      EXPECT_TRUE(Near(s.ascii_letters, c.ascii_letters)) << s.ascii_letters << " letters";
    }
    EXPECT_EQ(s.line_breaks, c.line_breaks);
    EXPECT_EQ(s.lone_breaks, 0u);
    EXPECT_EQ(s.blank_line_ends, 0u);
  }
}

TEST(SamplesTest, EveryCharacterConvertsBothWays) {
  for (const TextCase& c : AllTexts()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindInvalidUtf8(c.utf8), std::nullopt);
    std::size_t replaced = 1;
    Utf8ToGbk(c.utf8, &replaced);
    EXPECT_EQ(replaced, 0u);
    // What the accessor hands out is the file, in GBK with CR LF breaks.
    EXPECT_EQ(FieldToUtf8(c.text), c.utf8);
  }
}

TEST(SamplesTest, EachArticleTakesThePathOfItsLanguage) {
  const struct {
    SampleName name;
    Language language;
  } cases[] = {
      {SampleName::kInitial, Language::kChinese},
      {SampleName::kChinese, Language::kChinese},
      {SampleName::kEnglish, Language::kEnglish},
  };
  for (const auto& c : cases) {
    const GbkText& text = GetSample(c.name).text;
    EXPECT_EQ(ChooseLanguage(text), c.language) << static_cast<int>(c.name);
    if (c.language == Language::kEnglish) {
      // Pure ASCII, so no "的" can hide in it.
      for (std::size_t i = 0; i < text.size(); ++i) ASSERT_LT(text.byte(i), 0x80) << i;
    }
  }
}

// What makes a sample worth showing: many real sentences, terms that
// recur, a headline that names some of the leading terms, and a summary of
// more than one sentence at the shortest length.
TEST(SamplesTest, EachSampleMakesAGoodDemonstration) {
  for (SampleName name : {SampleName::kInitial, SampleName::kChinese, SampleName::kEnglish}) {
    SCOPED_TRACE(static_cast<int>(name));
    Workspace ws;
    ws.fields.title = GetSample(name).title;
    ws.fields.content = GetSample(name).text;
    ASSERT_TRUE(Summarize(ws).has_value());
    EXPECT_GE(ws.SentenceTable.RowCount(), 20);
    ASSERT_GE(ws.TermTable.RowCount(), 6);
    for (int row = 0; row < 3; ++row) {
      EXPECT_GE(TextToInt(ws.TermTable.GetCell(row, kColumnA)), 3) << row;
    }
    int leading_terms_in_title = 0;
    for (int row = 0; row < 6; ++row) {
      const GbkText& term = ws.TermTable.GetCell(row, kTextColumn);
      leading_terms_in_title += FindText(ws.fields.title, term) != -1;
    }
    EXPECT_GE(leading_terms_in_title, 1);
    EXPECT_GE(ws.SummaryTable.RowCount(), 2);
  }
}

TEST(SamplesTest, SampleByNameKnowsExactlyTheThreeNames) {
  const struct {
    const char* name;
    std::optional<SampleName> expected;
  } cases[] = {
      {"initial", SampleName::kInitial}, {"chinese", SampleName::kChinese},
      {"english", SampleName::kEnglish}, {"English", std::nullopt},
      {"", std::nullopt},                {"initial ", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SampleByName(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace quillet
