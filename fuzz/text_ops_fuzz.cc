// Fuzzes the text operations. The input is t, sought and replacement cut at
// zero bytes: the four matching operations must agree with the plain
// reference versions. The pieces after those, taken two by two as sought
// and replacement texts, are a rule list, which must rewrite t as the
// reference ReplaceAll does rule by rule. Its first bytes, read as a double and as an integer,
// and the number parsed from t feed the number round trips: a double
// written to text and read back is the double rounded to 13 significant
// digits, and writing that again gives the same text.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "reference/text_reference.h"
#include "support/fuzz_util.h"
#include "text/rule_list.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

using fuzzing::Hex;
using fuzzing::Require;

std::string ListHex(const TextList& list) {
  std::string out;
  for (const GbkText& piece : list) out += Hex(piece.view());
  return "{" + out + "}";
}

void CheckMatching(const GbkText& t, const GbkText& sought,
                   const GbkText& replacement) {
  const std::string args =
      "t=" + Hex(t.view()) + " sought=" + Hex(sought.view());
  const int first = FindText(t, sought);
  Require(first == reference::FindText(t, sought), "FindText",
          args + " got " + std::to_string(first));
  const int last = FindTextLast(t, sought);
  Require(last == reference::FindTextLast(t, sought), "FindTextLast",
          args + " got " + std::to_string(last));
  const GbkText replaced = ReplaceAll(t, sought, replacement);
  Require(replaced == reference::ReplaceAll(t, sought, replacement),
          "ReplaceAll",
          args + " replacement=" + Hex(replacement.view()) + " got " +
              Hex(replaced.view()));
  const TextList pieces = SplitText(t, sought);
  Require(pieces == reference::SplitText(t, sought), "SplitText",
          args + " got " + ListHex(pieces));
}

void CheckRuleList(const GbkText& t, const std::vector<std::string_view>& parts) {
  // Rule texts hold no zero byte (the last part may): GbkText drops them.
  std::vector<GbkText> texts(parts.begin() + 3, parts.end());
  std::vector<ReplacementRule> rules;
  GbkText expected = t;
  std::string shown;
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2) {
    if (texts[i].empty()) continue;  // a rule's sought text is never empty
    rules.push_back({texts[i].view(), texts[i + 1].view()});
    expected = reference::ReplaceAll(expected, texts[i], texts[i + 1]);
    shown += " " + Hex(texts[i].view()) + "->" + Hex(texts[i + 1].view());
  }
  GbkText applied = t;
  ApplyRules(applied, rules);
  Require(applied == expected, "ApplyRules",
          "t=" + Hex(t.view()) + " rules" + shown + " got " + Hex(applied.view()));
}

void CheckDoubleRoundTrip(double x) {
  if (!std::isfinite(x)) return;
  const GbkText text = NumberToText(x);
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.17g", x);
  const std::string details =
      std::string("x=") + shown + " text=" + Hex(text.view());
  Require(text == reference::NumberToText(x), "NumberToText(double)",
          details + " expected " + Hex(reference::NumberToText(x).view()));
  const double back = TextToNumber(text);
  Require(back == reference::RoundTo13Digits(x),
          "TextToNumber(NumberToText(x)) is x rounded to 13 digits", details);
  Require(NumberToText(back) == text, "NumberToText of the read-back value",
          details);
}

void CheckIntRoundTrip(int32_t n) {
  const GbkText text = NumberToText(n);
  Require(TextToInt(text) == n, "TextToInt(NumberToText(n))",
          std::to_string(n) + " " + Hex(text.view()));
  Require(TextToNumber(text) == n, "TextToNumber(NumberToText(n))",
          std::to_string(n));
}

// Parsing arbitrary text and cutting arbitrary doubles must simply work.
void CheckParsers(const GbkText& t, double x) {
  (void)TextToInt(t);
  CheckDoubleRoundTrip(TextToNumber(t));
  const int32_t cut = DoubleToInt(x);
  if (std::isnan(x)) Require(cut == 0, "DoubleToInt(NaN)");
  if (std::isfinite(x) && std::fabs(x) < 2147483647.0) {
    Require(cut == static_cast<int32_t>(std::trunc(x)), "DoubleToInt");
    if (x >= 0) {
      const int32_t floor = FloorToInt(x);
      Require(floor == cut || floor == cut + 1, "FloorToInt");
    }
  }
}

}  // namespace
}  // namespace quillet

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillet;
  const auto parts = fuzzing::SplitInput(data, size, 3 + 2 * 12);
  const GbkText t(parts[0]);
  const GbkText sought(parts[1]);
  const GbkText replacement(parts[2]);
  CheckMatching(t, sought, replacement);
  CheckRuleList(t, parts);

  double x = 0;
  std::memcpy(&x, data, size < sizeof x ? size : sizeof x);
  int32_t n = 0;
  std::memcpy(&n, data, size < sizeof n ? size : sizeof n);
  CheckDoubleRoundTrip(x);
  CheckIntRoundTrip(n);
  CheckParsers(t, x);
  return 0;
}
