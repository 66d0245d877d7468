#include "terms/english_words.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace quillet {
namespace {

using ::quillet::testing::U;

using ::quillet::testing::Rows;
using ::quillet::testing::TermRows;

Rows Count(Workspace& ws, const GbkText& counting_text) {
  ws.WorkText = counting_text;
  CountEnglishWords(ws);
  return TermRows(ws.TermTable);
}

// Each word three times: the row shows what the suffix rules made of it.
TEST(CountEnglishWordsTest, SuffixRules) {
  struct Case {
    std::string word;
    std::string reduced;  // "" when no row is expected
  };
  const std::vector<Case> cases = {
      {"economies", "economy"}, {"happiness", "happi"}, {"careless", "care"},
      {"quickly", "quick"},     {"running", "runn"},    {"rails", "rail"},
      {"glass", "glas"},        {"business", "busi"},   {"kingly", "king"},
      {"sings", "sing"},        {"Rails", "Rail"},
      // The suffixes match case-sensitively.
      {"RAILS", "RAILS"},       {"rail", "rail"},
      // lies becomes ly and is not cut again; ly and less become "" and
      // are never counted; is becomes i: all too short for a row.
      {"lies", ""},             {"ly", ""},             {"less", ""},
      {"is", ""},               {"US", ""},
      // A suffix inside a word does not count; the first rule that
      // applies is the only one.
      {"lessen", "lessen"},     {"slyness", "sly"},
  };
  for (const Case& c : cases) {
    Workspace ws;
    const Rows rows = Count(ws, c.word + " " + c.word + " " + c.word);
    const Rows expected =
        c.reduced.size() >= 3 ? Rows{{c.reduced, "3"}} : Rows{};
    EXPECT_EQ(rows, expected) << c.word;
  }
}

TEST(CountEnglishWordsTest, CountsReducedWordsExactly) {
  struct Case {
    std::string text;
    Rows rows;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"rail rail", {}},
      {"rails rail rails", {{"rail", "3"}}},
      // Byte for byte: one row for Rail, none for rail.
      {"Rail rail Rail rail Rail", {{"Rail", "3"}}},
      // Empty pieces from blanks at the start and in a row are skipped.
      {"  rail  rail rail ", {{"rail", "3"}}},
      // Rows stand in first-occurrence order, and equal counts keep it.
      {"beta alpha beta alpha beta alpha", {{"beta", "3"}, {"alpha", "3"}}},
      {"economies rail economies lines economies rail lines economies rail "
       "lines economies rail",
       {{"economy", "5"}, {"rail", "4"}, {"line", "3"}}},
  };
  for (const Case& c : cases) {
    Workspace ws;
    ws.TermTable.InsertRow("old");
    EXPECT_EQ(Count(ws, c.text), c.rows) << c.text;
    EXPECT_EQ(ws.WorkText, GbkText(c.text));
  }
}

TEST(CountEnglishWordsTest, KeywordsOnlyWhereTheyOccurInTheText) {
  struct Case {
    std::string text;
    std::string keywords;  // UTF-8
  };
  const std::vector<Case> cases = {
      // economy, made by the "ies" rule, is not in the text.
      {"economies economies economies economies economies rail rail rail "
       "rail lines lines lines",
       "关键词： rail line "},
      // The missing second and third rows read "", found in any text.
      {"Rail Rail Rail", "关键词： Rail   "},
      // ... but not in an empty one.
      {"", "关键词： "},
      // Found with letter case ignored.
      {"economies economies economies ECONOMY", "关键词： economy   "},
  };
  for (const Case& c : cases) {
    Workspace ws;
    ws.WorkText = c.text;
    CountEnglishWords(ws);
    EXPECT_EQ(U(ws.fields.keywords), c.keywords) << c.text;
  }
}

TEST(CountEnglishWordsTest, YieldsWhileCountingThenShowsZeroPercent) {
  for (const char* text : {"", " rail  rail rail"}) {
    Workspace ws;
    ws.fields.status = "x";
    int calls = 0;
    bool status_kept = true;
    ws.process_events = [&] {
      ++calls;
      status_kept = status_kept && ws.fields.status == GbkText("x");
    };
    ws.WorkText = text;
    CountEnglishWords(ws);
    EXPECT_GE(calls, 1) << text;
    EXPECT_TRUE(status_kept) << text;
    EXPECT_EQ(U(ws.fields.status), "0%") << text;
  }
}

}  // namespace
}  // namespace quillet
