#include "terms/chinese_terms.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

using ::quillet::testing::G;
using ::quillet::testing::U;

using ::quillet::testing::Rows;
using ::quillet::testing::TermRows;

// Runs the stage as the pipeline does: the character list first.
void Extract(Workspace& ws, const GbkText& counting_text) {
  ws.WorkText = counting_text;
  BuildCharList(ws);
  ExtractChineseTerms(ws);
}

TEST(BuildCharListTest, SplitsIntoCharacters) {
  struct Case {
    GbkText text;
    TextList elements;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {G("a中 b"), {"a", G("中"), " ", "b"}},
      // 0x80 is not a GBK lead byte, yet starts a two-byte element.
      {"\x80" "A" "b", {"\x80" "A", "b"}},
      {"\xFF\x20", {"\xFF\x20"}},
      // A final high byte with nothing after it stands alone.
      {"x\xB5", {"x", "\xB5"}},
      {"\xB5", {"\xB5"}},
  };
  for (const Case& c : cases) {
    Workspace ws;
    ws.CharList.AssignCharactersOf("stale");
    ws.WorkText = c.text;
    BuildCharList(ws);
    EXPECT_EQ(ws.CharList.Texts(), c.elements) << U(c.text);
  }
}

struct ExtractCase {
  const char* name;
  std::string text;  // UTF-8 counting text
  Rows rows;         // sorted term table
  std::string keywords;
};

void PrintTo(const ExtractCase& c, std::ostream* os) { *os << c.name; }

class ExtractChineseTermsTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractChineseTermsTest, FindsMergesAndSorts) {
  const ExtractCase& c = GetParam();
  Workspace ws;
  Extract(ws, G(c.text));
  EXPECT_EQ(TermRows(ws.TermTable), c.rows);
  EXPECT_EQ(U(ws.fields.keywords), c.keywords);
  EXPECT_EQ(U(ws.fields.status), "100%");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractChineseTermsTest,
    ::testing::Values(
        ExtractCase{"Empty", "", {}, "关键词：    "},
        ExtractCase{"TwiceIsNotATerm", "中国 中国 ", {}, "关键词：    "},
        ExtractCase{"ThreeTimes", "中国 中国 中国 ", {{"中国", "3"}},
                    "关键词： 中国   "},
        // The occurrence that ends the text is not counted.
        ExtractCase{"ThirdEndsTheText", "中国 中国 中国", {}, "关键词：    "},
        // Windows across a blank are dropped, so 经济 发展 is no term.
        ExtractCase{"NoTermSpansABlank",
                    "经济 发展 经济 发展 经济 发展 ",
                    {{"经济", "3"}, {"发展", "3"}},
                    "关键词： 经济 发展  "},
        ExtractCase{"LongerTermFirstThenMerged",
                    "经济发展 经济发展 经济发展 经济 经济 经济 ",
                    {{"经济", "6"}, {"发展", "3"}},
                    "关键词： 经济 发展  "},
        // The cut of 经济 from the snapshot 中国经济发展 overwrites the cut of
        // 经济发展; 经济 absorbs 发展's count in its raised form.
        ExtractCase{"NestedTerms",
                    "中国经济发展 中国经济发展 中国经济发展 "
                    "经济发展 经济发展 经济发展 经济 经济 经济 ",
                    {{"经济", "12"}, {"发展", "6"}, {"中国发展", "3"}},
                    "关键词： 经济 发展 中国发展 "},
        // A term made of a shorter one is cut to the empty text and stays.
        ExtractCase{"RepeatedShorterTerm",
                    "哈哈哈哈 哈哈哈哈 哈哈哈哈 哈哈 哈哈 哈哈 ",
                    {{"哈哈", "6"}, {"", "3"}},
                    "关键词： 哈哈   "},
        ExtractCase{"ConsecutiveZhegeRowsAllGo",
                    "这个国家 这个国家 这个国家 这个人民 这个人民 这个人民 "
                    "经济 经济 经济 ",
                    {{"经济", "3"}},
                    "关键词： 经济   "},
        // The merge test folds case, the cut does not: each absorbs the
        // other, the second one the already raised count.
        ExtractCase{"LetterCaseVariants", "ab ab ab AB AB AB ",
                    {{"AB", "9"}, {"ab", "6"}},
                    "关键词： AB ab  "},
        // The longest runs are 17 characters: of an 18-character run that
        // recurs, the first 17 are found and blanked, the last one is left.
        ExtractCase{"SeventeenCharactersAtMost",
                    "一二三四五六七八九十甲乙丙丁戊己庚辛 "
                    "一二三四五六七八九十甲乙丙丁戊己庚辛 "
                    "一二三四五六七八九十甲乙丙丁戊己庚辛 ",
                    {{"一二三四五六七八九十甲乙丙丁戊己庚", "3"}},
                    "关键词： 一二三四五六七八九十甲乙丙丁戊己庚   "}),
    [](const ::testing::TestParamInfo<ExtractCase>& info) {
      return std::string(info.param.name);
    });

TEST(ExtractChineseTermsTest, LeavesTermsBlankedOutOfWorkText) {
  Workspace ws;
  Extract(ws, G("他说中国 中国 中国 好"));
  // Each occurrence of 中国 became one blank; CharList follows WorkText.
  EXPECT_EQ(U(ws.WorkText), "他说      好");
  Workspace rebuilt;
  rebuilt.WorkText = ws.WorkText;
  BuildCharList(rebuilt);
  EXPECT_EQ(ws.CharList, rebuilt.CharList);
}

TEST(ExtractChineseTermsTest, EmptiesTheTableOfTheRunBefore) {
  Workspace ws;
  ws.TermTable.InsertRow("old");
  Extract(ws, G("中国 中国 "));
  EXPECT_EQ(ws.TermTable.RowCount(), 0);
}

TEST(ExtractChineseTermsTest, ShowsProgressAndYieldsEveryPass) {
  Workspace ws;
  testing::ProgressRecorder progress(ws);
  // The window sees every caption, so it is given control at least once
  // per pass, the empty text included.
  const std::vector<std::string> expected = {
      "6%",  "12%", "18%", "25%", "31%", "37%", "43%", "50%",
      "56%", "62%", "68%", "75%", "81%", "87%", "93%", "100%"};
  for (const char* text : {"", "中国 中国 中国 "}) {
    ws.fields.status = "x";
    progress.Clear();
    Extract(ws, G(text));
    EXPECT_EQ(progress.captions, expected) << text;
    EXPECT_GE(progress.calls, 16) << text;
  }
}

}  // namespace
}  // namespace quillet
