// Whole summary runs over short articles: every stage of the language, from
// the content field to the summary and the status line.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "pipeline/summarize.h"
#include "support/test_util.h"

namespace quillet {
namespace {

using testing::G;
using testing::U;

// Lines joined with CR LF, as the content field holds an article.
std::string Article(const std::vector<std::string>& lines) {
  std::string article;
  for (const std::string& line : lines) article += line + "\r\n";
  return article;
}

const std::string kChineseTitle = "临江开通智慧公交线路";
const std::string kChineseArticle = Article({
    "临江市今天开通了第一条智慧公交线路。",
    "智慧公交的车辆可以自动避让行人。",
    "市民说，智慧公交的速度比普通公交快很多。",
    "一、智慧公交线路全长十八公里。",
    "乘客可以用手机查看智慧公交到站时间；车站还设置了电子显示屏。",
    "沿线的商户认为，客流增加以后生意会越来越好。",
    "据介绍，智慧公交线路每天运营十六个小时。",
    "全市公交（不含郊区线路）的客流今年增长较快。",
    "新线路的开通让老城区居民去高新区上班的时间缩短了二十分钟。",
    "记者在滨河路站看到，不少市民排队体验这种新型的智慧公交车。",
    "专家指出，智慧公交是城市交通发展的方向。",
    "智慧公交会不会涨价？",
    "下一步，临江市还将在公交站台安装更多的充电设施。",
    "交通局表示，票价保持不变；明年将再开通三条“智慧公交”线路。",
});

const std::string kEnglishTitle = "City opens its first rail line";
const std::string kEnglishArticle = Article({
    "The city opened its new rail line on Monday morning.",
    "Thousands of riders took the first trains across the river, officials said.",
    "The rail line links the airport with the old town center in twenty minutes.",
    "Mayor Ann Lee said, the rail line is the biggest project in decades.",
    "Will the fares rise next year?",
    "The fares stay at two dollars for every rider of the rail line.",
    "Riders praised the quiet trains and the clean stations.",
    "Work on a second rail line will start next spring (weather permitting).",
    "Shops near the stations expect more riders and more sales; some have hired staff.",
    "However, the new trains were late twice on the first day.",
    "The city plans three more lines by the end of the decade.",
});

struct SummaryRun {
  std::string title;
  std::string article;
  int length_class;
  std::string summary;
  std::string status;
};

TEST(SummarizeEndToEndTest, ShortArticles) {
  // Chinese, class 0: the ten best sentences make 358 bytes; the eleventh
  // (58 bytes) would pass 400, so the choice ends there, though the twelfth
  // (30 bytes) would still fit. "“", "”" are removed and "；" becomes "。".
  const std::string chinese_400 =
      "临江市今天开通了第一条智慧公交线路。智慧公交的车辆可以自动避让行人。"
      "智慧公交的速度比普通公交快很多。乘客可以用手机查看智慧公交到站时间。"
      "智慧公交线路每天运营十六个小时。全市公交的客流今年增长较快。"
      "记者在滨河路站看到，不少市民排队体验这种新型的智慧公交车。"
      "智慧公交是城市交通发展的方向。临江市还将在公交站台安装更多的充电设施。"
      "明年将再开通三条智慧公交线路。";
  // Class 1: all sixteen sentences (534 bytes) fit 600.
  const std::string chinese_all =
      "临江市今天开通了第一条智慧公交线路。智慧公交的车辆可以自动避让行人。"
      "智慧公交的速度比普通公交快很多。一、智慧公交线路全长十八公里。"
      "乘客可以用手机查看智慧公交到站时间。车站还设置了电子显示屏。"
      "沿线的商户认为。客流增加以后生意会越来越好。智慧公交线路每天运营十六个小时。"
      "全市公交的客流今年增长较快。新线路的开通让老城区居民去高新区上班的时间缩短了二十分钟。"
      "记者在滨河路站看到，不少市民排队体验这种新型的智慧公交车。"
      "智慧公交是城市交通发展的方向。智慧公交会不会涨价？"
      "临江市还将在公交站台安装更多的充电设施。明年将再开通三条智慧公交线路。";
  // English, class 0 and no selection (400 bytes): six sentences, 347
  // bytes; the seventh (75 bytes) would pass 400.
  const std::string english_400 =
      "The city opened its new rail line on Monday morning."
      "The rail line links the airport with the old town center in twenty minutes."
      " the rail line is the biggest project in decades."
      "The fares stay at two dollars for every rider of the rail line."
      "Work on a second rail line will start next spring ."
      "The city plans three more lines by the end of the decade.";
  // Class 1 (600 bytes): ten sentences, 583 bytes; the eleventh would make 603.
  const std::string english_600 =
      "The city opened its new rail line on Monday morning."
      "Thousands of riders took the first trains across the river, officials said."
      "The rail line links the airport with the old town center in twenty minutes."
      " the rail line is the biggest project in decades."
      "The fares stay at two dollars for every rider of the rail line."
      "Riders praised the quiet trains and the clean stations."
      "Work on a second rail line will start next spring ."
      "Shops near the stations expect more riders and more sales;"
      "the new trains were late twice on the first day."
      "The city plans three more lines by the end of the decade.";

  const std::vector<SummaryRun> runs = {
      {kChineseTitle, kChineseArticle, 0, chinese_400, "原文319字，摘要177字"},
      {kChineseTitle, kChineseArticle, -1, chinese_all, "原文319字，摘要265字"},
      {kChineseTitle, kChineseArticle, 1, chinese_all, "原文319字，摘要265字"},
      {kEnglishTitle, kEnglishArticle, 0, english_400, "原文706字，摘要347字"},
      {kEnglishTitle, kEnglishArticle, -1, english_400, "原文706字，摘要347字"},
      {kEnglishTitle, kEnglishArticle, 1, english_600, "原文706字，摘要583字"},
  };
  for (const SummaryRun& run : runs) {
    Workspace ws;
    ws.fields.title = G(run.title);
    ws.fields.content = G(run.article);
    ws.fields.length_class = run.length_class;
    ASSERT_TRUE(Summarize(ws).has_value());
    EXPECT_EQ(U(ws.fields.output), run.summary) << "class " << run.length_class;
    EXPECT_EQ(U(ws.fields.status), run.status) << "class " << run.length_class;
  }
}

// Scores as the tables hold them after a run: the term sum of the leading
// terms, then the divisions, each stored as its text before the next.
TEST(SummarizeEndToEndTest, ScoresAndOrderKeysOfAChineseRun) {
  Workspace ws;
  ws.fields.title = G(kChineseTitle);
  ws.fields.content = G(kChineseArticle);
  ASSERT_EQ(Summarize(ws), Language::kChinese);
  std::map<std::string, std::string> scores;  // sentence -> score text
  for (int r = 0; r < ws.SentenceTable.RowCount(); ++r) {
    scores[U(ws.SentenceTable.GetCell(r, kTextColumn))] =
        U(ws.SentenceTable.GetCell(r, kColumnA));
  }
  // 1 + 公交 32 + 智慧 20 + 开通 6.
  EXPECT_EQ(scores["临江市今天开通了第一条智慧公交线路。"], "59");
  // 53 / 3 is stored as 17.66666666667, and that divided by 3 again as
  // 5.88888888889, where the exact 53 / 9 would give 5.888888888889.
  EXPECT_EQ(scores["一、智慧公交线路全长十八公里。"], "5.88888888889");
  EXPECT_EQ(scores["智慧公交会不会涨价？"], "2.65");  // 53 / 2 / 10
  // The chosen rows stand in article order, keyed 999999 - position.
  for (int r = 1; r < ws.SummaryTable.RowCount(); ++r) {
    EXPECT_GT(std::stoi(ws.SummaryTable.GetCell(r - 1, kColumnA).bytes()),
              std::stoi(ws.SummaryTable.GetCell(r, kColumnA).bytes()));
  }
  EXPECT_EQ(ws.SummaryTable.RowCount(), 10);
}

}  // namespace
}  // namespace quillet
