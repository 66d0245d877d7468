#include "terms/title_boost.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace quillet {
namespace {

using ::quillet::testing::G;
using ::quillet::testing::U;

using ::quillet::testing::Rows;
using ::quillet::testing::TermRows;

void FillTerms(Workspace& ws, const Rows& rows) {
  for (const auto& [term, count] : rows) {
    const int r = ws.TermTable.InsertRow(G(term));
    ws.TermTable.SetCell(r, kColumnA, G(count));
  }
}

TEST(TitleCleanRulesTest, CleansTheTitle) {
  struct Case {
    std::string title;
    std::string cleaned;
  };
  const std::vector<Case> cases = {
      {"", ""},
      // Four digit blanks, halved twice pair by pair, leave one.
      {"2016年目标", " 年目标"},
      {"rail 2016, lines", "rail  lines"},
      {"经济发展，改革开放", "经济发展  改革 开放"},
      {"我们的目的是发展的确定的标的", "我们 目的是发展的确定 标的"},
      {"“制度”：好！", "  制度  好 "},
      // An ideographic space stays unless a blank follows it.
      {"中\u3000国\u3000 家", "中\u3000国 家"},
      // A single … is a rule of its own; a 〓 of the title becomes a blank
      // like the marks made for 的, after the blanks were reduced.
      {"等…〓", "等  "},
  };
  for (const Case& c : cases) {
    Workspace ws;
    ws.fields.title = G(c.title);
    BoostTitleTerms(ws);
    EXPECT_EQ(U(ws.WorkText), c.cleaned) << c.title;
  }
  EXPECT_EQ(TitleCleanRules.size(), 35u);
}

TEST(BoostTitleTermsTest, DoublesTermsFoundInTheCleanedTitle) {
  struct Case {
    std::string title;
    Rows before;
    Rows after;
  };
  const std::vector<Case> cases = {
      {"经济发展，改革开放",
       {{"发展改革", "7"}, {"改革", "3"}, {"经济发展", "6"}},
       {{"经济发展", "12"}, {"发展改革", "7"}, {"改革", "6"}}},
      // Doubled once however often found; non-integral counts double too.
      {"rail, rail and Railway", {{"rail", "3"}, {"x", "2.5"}},
       {{"rail", "6"}, {"x", "2.5"}}},
      {"extra", {{"x", "2.5"}}, {{"x", "5"}}},
      // A term that spans a 的 of the title is no longer found.
      {"我们的目的", {{"们的", "4"}, {"目的", "3"}, {"我们", "2"}},
       {{"目的", "6"}, {"们的", "4"}, {"我们", "4"}}},
      // Digits never take part in a match.
      {"2016年目标", {{"16", "5"}, {"年", "3"}}, {{"年", "6"}, {"16", "5"}}},
      // The empty term is found in every non-empty cleaned title.
      {"任何", {{"", "3"}}, {{"", "6"}}},
      {"", {{"", "3"}, {"a", "2"}}, {{"", "3"}, {"a", "2"}}},
      // An empty title still sorts the table.
      {"", {{"a", "2"}, {"b", "9"}}, {{"b", "9"}, {"a", "2"}}},
  };
  for (const Case& c : cases) {
    Workspace ws;
    FillTerms(ws, c.before);
    ws.fields.title = G(c.title);
    int calls = 0;
    ws.process_events = [&] { ++calls; };
    BoostTitleTerms(ws);
    EXPECT_EQ(TermRows(ws.TermTable), c.after) << c.title;
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ws.fields.title, G(c.title));
  }
}

}  // namespace
}  // namespace quillet
