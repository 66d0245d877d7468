#include "cli/title_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_util.h"

namespace quillet::cli {
namespace {

using testing::G;

TEST(SplitTitleLineTest, FirstNonBlankLineIsTheTitle) {
  struct Case {
    std::string text;
    std::string title;
    std::string article;
  };
  const std::vector<Case> cases = {
      {"Rates rise\r\nThe market fell.", "Rates rise", "The market fell."},
      {"\r\n \t\r\n  Rates rise \r\n\r\nThe market fell.\r\n", "Rates rise",
       "\r\nThe market fell.\r\n"},               // blank lines after the title stay
      {"　　智慧公交　\r\n临江市。", "智慧公交", "临江市。"},  // full-width spaces
      {"One line only", "One line only", ""},
      {"One line only\r\n", "One line only", ""},
      {"", "", ""},
      {"\r\n  \r\n", "", "\r\n  \r\n"},           // no title: all article
      // 啊 is B0 A1: its second byte and the next byte are not a blank.
      {"啊　\r\nx", "啊", "x"},
  };
  for (const Case& c : cases) {
    const TitledArticle split = SplitTitleLine(G(c.text));
    EXPECT_EQ(split.title, G(c.title)) << c.text;
    EXPECT_EQ(split.article, G(c.article)) << c.text;
  }
}

}  // namespace
}  // namespace quillet::cli
