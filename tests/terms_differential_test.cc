// The fast term statistics against the plain ones kept as the reference:
// the same TermTable, WorkText, CharList and captions for every text. The
// texts are generated from small alphabets that make the hard cases common
// (periodic runs, nested and overlapping terms, terms at the very end,
// blanks and double blanks, letters of both cases, lone bytes 0x80 and
// above, texts of 0, 1 and 2 characters), plus every article of the
// repository made into a counting text by the real preparation stages.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "codec/gbk_codec.h"
#include "pipeline/summarize.h"
#include "reference/term_stage_comparison.h"
#include "samples/samples.h"
#include "support/test_util.h"
#include "terms/chinese_terms.h"

namespace quillet {
namespace {

using ::quillet::testing::G;

// The plain versions are quadratic and slow down a good deal under the
// sanitizers; there a quarter of the generated texts is enough to catch
// memory faults, the full comparison runs in the plain build.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kRoundsDivisor = 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kRoundsDivisor = 4;
#else
constexpr int kRoundsDivisor = 1;
#endif
#else
constexpr int kRoundsDivisor = 1;
#endif

// Runs both versions of the stage of the language on the counting text and
// reports where they part.
::testing::AssertionResult SameOutcome(const GbkText& text, Language language) {
  const std::optional<std::string> difference =
      reference::CompareTermStages(text, language);
  if (!difference) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << *difference;
}

// ---------------------------------------------------------------------------
// Generated Chinese counting texts.

// Pieces a text is drawn from; a lone byte 0x80 or above joins the byte
// after it into one element, whatever that byte is.
struct Alphabet {
  const char* name;
  std::vector<std::string> pieces;  // UTF-8 for readable rows, or raw GBK
  bool raw = false;
};

std::vector<GbkText> PiecesOf(const Alphabet& a) {
  std::vector<GbkText> out;
  for (const std::string& p : a.pieces) out.push_back(a.raw ? GbkText(p) : G(p));
  return out;
}

const std::vector<Alphabet>& ChineseAlphabets() {
  static const std::vector<Alphabet> alphabets = {
      {"periodic", {"哈", "哈", "哈", " "}},
      {"two", {"中", "国", " "}},
      {"three", {"经", "济", "发", " ", "  "}},
      {"letters", {"a", "A", "b", "B", " ", "中"}},
      // 0x81 with an ASCII second byte, which folds like a letter.
      {"high-with-ascii", {"\x81" "a", "\x81" "A", "a", "A", " ", "\x80"}, true},
      {"lone-high", {"\x80", "\xFF", "\xB5", "a", " ", "\xB5\xC4"}, true},
      {"zhege", {"这", "个", "国", "这个", " "}},
      {"mixed", {"中", "国", "a", "B", " ", "  ", "　"}},
  };
  return alphabets;
}

// A text of up to max_pieces pieces drawn from the alphabet.
GbkText RandomText(std::mt19937& rng, const std::vector<GbkText>& pieces,
                   int max_pieces) {
  const int count = std::uniform_int_distribution<int>(0, max_pieces)(rng);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  GbkText t;
  for (int i = 0; i < count; ++i) t.Append(pieces[pick(rng)]);
  return t;
}

// A text of a few words that recur: each word is drawn from the alphabet,
// some are parts of others, and the text strings them together with
// blanks, double blanks or nothing between them, often ending with a word.
GbkText RecurringWordsText(std::mt19937& rng, const std::vector<GbkText>& pieces) {
  std::vector<GbkText> words;
  const int word_count = std::uniform_int_distribution<int>(1, 4)(rng);
  for (int i = 0; i < word_count; ++i) {
    GbkText w;
    if (!words.empty() && rng() % 3 == 0) {
      // A part of an earlier word, or an earlier word twice.
      const GbkText& earlier = words[rng() % words.size()];
      w = rng() % 2 ? GbkText(earlier.view().substr(0, earlier.size() / 2 * 2))
                    : GbkText(earlier.bytes() + earlier.bytes());
    } else {
      w = RandomText(rng, pieces, 8);
    }
    if (!w.empty()) words.push_back(w);
  }
  if (words.empty()) return GbkText();
  static const char* kSeparators[] = {" ", " ", "  ", ""};
  GbkText t;
  const int count = std::uniform_int_distribution<int>(1, 14)(rng);
  for (int i = 0; i < count; ++i) {
    t.Append(words[rng() % words.size()]);
    if (i + 1 < count || rng() % 2) t.Append(std::string_view(kSeparators[rng() % 4]));
  }
  return t;
}

TEST(TermsDifferentialTest, ChineseTermsOnGeneratedTexts) {
  std::mt19937 rng(20240601);
  for (const Alphabet& alphabet : ChineseAlphabets()) {
    const std::vector<GbkText> pieces = PiecesOf(alphabet);
    for (int i = 0; i < 200 / kRoundsDivisor; ++i) {
      // Short texts often: 0, 1 and 2 characters come up every few rounds.
      const int max_pieces = i % 5 == 0 ? 3 : (i % 7 == 0 ? 100 : 30);
      const GbkText random = RandomText(rng, pieces, max_pieces);
      ASSERT_TRUE(SameOutcome(random, Language::kChinese)) << alphabet.name;
      const GbkText words = RecurringWordsText(rng, pieces);
      ASSERT_TRUE(SameOutcome(words, Language::kChinese)) << alphabet.name;
    }
  }
}

TEST(TermsDifferentialTest, ChineseTermsOnLongPeriodicRuns) {
  // Runs of a period of one, two or three characters, of the short
  // lengths and of those around two and three times the longest term, with
  // and without a blank at the end.
  const std::vector<std::string> periods = {"哈", "哈哈嘿", "ab", "aB中"};
  std::vector<int> lengths = {34, 35, 51, 52};
  for (int length = 0; length < 20; ++length) lengths.push_back(length);
  for (const std::string& period : periods) {
    for (int length : lengths) {
      std::string run;
      for (int i = 0; i < length; ++i) run += period;
      for (const std::string& tail : {std::string(), std::string(" ")}) {
        ASSERT_TRUE(SameOutcome(G(run + tail), Language::kChinese));
        ASSERT_TRUE(SameOutcome(G(run + " " + run + tail), Language::kChinese));
      }
    }
  }
}

TEST(TermsDifferentialTest, ChineseTermsWithCountsPastThirteenDigits) {
  // All 64 letter-case forms of one word, three times each: every form
  // takes over the counts of all the others, already raised ones included,
  // so the counts about double from row to row and soon need the exponent
  // form, rounded to 13 digits at each step.
  GbkText text;
  for (int form = 0; form < 64; ++form) {
    std::string word = "abcdef";
    for (int i = 0; i < 6; ++i) {
      if (form >> i & 1) word[i] = static_cast<char>(word[i] - 'a' + 'A');
    }
    for (int copy = 0; copy < 3; ++copy) text.Append(std::string_view(word + " "));
  }
  ASSERT_TRUE(SameOutcome(text, Language::kChinese));
  Workspace ws;
  ws.WorkText = text;
  BuildCharList(ws);
  ExtractChineseTerms(ws);
  ASSERT_EQ(ws.TermTable.RowCount(), 64);
  int exponent_forms = 0;
  for (int r = 0; r < 64; ++r) {
    if (ws.TermTable.GetCell(r, kColumnA).bytes().find("e+") != std::string::npos) {
      ++exponent_forms;
    }
  }
  EXPECT_GT(exponent_forms, 0);
}

// ---------------------------------------------------------------------------
// Generated English counting texts.

TEST(TermsDifferentialTest, EnglishWordsOnGeneratedTexts) {
  const std::vector<GbkText> words = {
      "rail", "rails", "Rails", "RAILS", "economies", "economy", "lies", "ly",
      "less", "ness", "kingly", "sings", "s", "ies", "glass", "business",
      "\x81s", "a\x81s", "\x81\x81s", "\xB5\xC4ly", "\x80", "e", "the",
      "running", "runn", "Rail", "US"};
  std::mt19937 rng(7);
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  static const char* kSeparators[] = {" ", " ", " ", "  ", ""};
  for (int i = 0; i < 2000 / kRoundsDivisor; ++i) {
    const int count = std::uniform_int_distribution<int>(0, i % 4 == 0 ? 3 : 40)(rng);
    GbkText t;
    if (rng() % 4 == 0) t.Append(std::string_view(" "));
    for (int j = 0; j < count; ++j) {
      t.Append(words[pick(rng)]);
      if (j + 1 < count || rng() % 3 == 0) t.Append(std::string_view(kSeparators[rng() % 5]));
    }
    ASSERT_TRUE(SameOutcome(t, Language::kEnglish));
  }
}

// ---------------------------------------------------------------------------
// The articles of the repository.

// The counting text of an article, made by the real preparation stages.
GbkText CountingTextOf(const GbkText& article, Language language) {
  Workspace ws;
  ws.WorkText = article;
  PrepareCountingText(ws, language);
  return ws.WorkText;
}

// The built-in samples, and the corpus articles of the benchmarks (UTF-8,
// one sentence a line) when the repository holds them.
std::vector<std::pair<std::string, GbkText>> RepositoryArticles() {
  std::vector<std::pair<std::string, GbkText>> articles = {
      {"initial sample", GetSample(SampleName::kInitial).text},
      {"Chinese sample", GetSample(SampleName::kChinese).text},
      {"English sample", GetSample(SampleName::kEnglish).text},
  };
  const std::filesystem::path corpus =
      std::filesystem::path(QUILLET_SOURCE_DIR) / "bench" / "corpus";
  if (!std::filesystem::is_directory(corpus)) return articles;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string utf8((std::istreambuf_iterator<char>(in)),
                           std::istreambuf_iterator<char>());
    articles.emplace_back(file.filename().string(), Utf8ToField(utf8));
  }
  return articles;
}

TEST(TermsDifferentialTest, RepositoryArticles) {
  for (const auto& [name, article] : RepositoryArticles()) {
    const std::optional<Language> language = ChooseLanguage(article);
    ASSERT_TRUE(language.has_value()) << name;
    const GbkText counting = CountingTextOf(article, *language);
    EXPECT_TRUE(SameOutcome(counting, *language)) << name;
  }
}

TEST(TermsDifferentialTest, SamplesThroughTheOtherLanguage) {
  // Each stage takes any text; Chinese terms of an English article hold
  // letters of both cases, English words of a Chinese one two-byte
  // characters.
  for (SampleName sample : {SampleName::kInitial, SampleName::kChinese,
                            SampleName::kEnglish}) {
    const GbkText& article = GetSample(sample).text;
    const Language other = *ChooseLanguage(article) == Language::kChinese
                               ? Language::kEnglish
                               : Language::kChinese;
    EXPECT_TRUE(SameOutcome(CountingTextOf(article, other), other));
  }
}

}  // namespace
}  // namespace quillet
