// Fuzzes a whole summary run. The first input byte picks the path (the
// article as it is, with "的" put in front so that it runs the Chinese
// path, or with " e" put behind it for the English path) and the length
// class; the rest is the title and the article, cut at a zero byte. The
// article is capped at a few KB: the term statistics grow with the square
// of its length, and longer inputs would only slow the search down.
//
// Every input must run to its end, leave the input fields alone, write the
// length status exactly (or leave the status untouched when the article is
// of neither language), and give the same result when run again on the
// same workspace, since a run keeps nothing from the one before.

#include <cstdint>
#include <optional>
#include <string>

#include "pipeline/summarize.h"
#include "reference/text_reference.h"
#include "support/fuzz_util.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

using fuzzing::Hex;
using fuzzing::Require;

constexpr std::size_t kMaxTitle = 256;
constexpr std::size_t kMaxArticle = 3000;

const GbkText kDe = "\xB5\xC4";         // 的
const GbkText kUntouched = "untouched";  // a status no run writes

// The language the article must take, found with the reference search.
std::optional<Language> ExpectedLanguage(const GbkText& article) {
  if (reference::FindText(article, kDe) != -1) return Language::kChinese;
  if (reference::FindText(article, "e") != -1) return Language::kEnglish;
  return std::nullopt;
}

// "原文" N "字，摘要" M "字" with byte counts, halved for Chinese.
GbkText LengthStatus(Language language, std::size_t content, std::size_t output) {
  if (language == Language::kChinese) {
    content /= 2;
    output /= 2;
  }
  return GbkText("\xD4\xAD\xCE\xC4" + std::to_string(content) +   // 原文
                 "\xD7\xD6\xA3\xAC\xD5\xAA\xD2\xAA" +             // 字，摘要
                 std::to_string(output) + "\xD7\xD6");            // 字
}

Workspace MakeWorkspace(const GbkText& title, const GbkText& article,
                        int length_class) {
  Workspace ws;
  ws.fields.title = title;
  ws.fields.content = article;
  ws.fields.output = "old summary";
  ws.fields.length_class = length_class;
  ws.fields.status = kUntouched;
  ws.fields.keywords = kUntouched;
  return ws;
}

void CheckRun(const GbkText& title, const GbkText& article, int length_class) {
  const std::string input = "title=" + Hex(title.view()) +
                            " article=" + Hex(article.view()) +
                            " class=" + std::to_string(length_class);
  Workspace ws = MakeWorkspace(title, article, length_class);
  const std::optional<Language> language = Summarize(ws);

  Require(language == ExpectedLanguage(article), "the language choice", input);
  Require(ws.fields.title == title && ws.fields.content == article &&
              ws.fields.length_class == length_class,
          "the input fields stay as they were", input);
  Require(ws.fields.output.bytes().find('\0') == std::string::npos,
          "the output holds no zero byte", input);
  if (!language) {
    Require(ws.fields.output.empty(), "no language: the output is emptied", input);
    Require(ws.fields.status == kUntouched && ws.fields.keywords == kUntouched,
            "no language: the captions stay", input);
    return;
  }
  const GbkText status =
      LengthStatus(*language, article.size(), ws.fields.output.size());
  Require(ws.fields.status == status, "the length status",
          input + " status=" + Hex(ws.fields.status.view()));

  const GbkText output = ws.fields.output;
  const GbkText keywords = ws.fields.keywords;
  Summarize(ws);
  Require(ws.fields.output == output && ws.fields.status == status &&
              ws.fields.keywords == keywords,
          "a second run on the same workspace gives the same result",
          input + " first=" + Hex(output.view()) +
              " second=" + Hex(ws.fields.output.view()));
}

}  // namespace
}  // namespace quillet

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillet;
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  const auto parts = fuzzing::SplitInput(data + 1, size - 1, 2);
  const GbkText title(parts[0].substr(0, kMaxTitle));
  GbkText article(parts[1].substr(0, kMaxArticle));
  switch (control & 3) {
    case 1: article = ConcatText(kDe, article); break;
    case 2: article = ConcatText(article, " e"); break;
    default: break;  // as it is: may be of neither language
  }
  const int length_class = (control >> 2) % 6 - 1;  // -1 .. 4
  CheckRun(title, article, length_class);
  return 0;
}
