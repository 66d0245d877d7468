// Fuzzes the fast term statistics against the plain ones kept as the
// reference. The first input byte picks the stage (odd: Chinese terms,
// even: English words); the rest is the counting text, capped at a few KB
// because the reference grows with the square of its length. Both versions
// must leave the same TermTable, WorkText, CharList, status and keywords,
// and the window must have seen the same progress captions.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "reference/term_stage_comparison.h"
#include "support/fuzz_util.h"

namespace {

constexpr std::size_t kMaxText = 3000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t length = std::min(size - 1, kMaxText);
  const quillet::GbkText text(
      std::string(reinterpret_cast<const char*>(data) + 1, length));
  const quillet::Language language =
      data[0] & 1 ? quillet::Language::kChinese : quillet::Language::kEnglish;
  const std::optional<std::string> difference =
      quillet::reference::CompareTermStages(text, language);
  quillet::fuzzing::Require(!difference, "the fast term statistics equal the reference",
                            difference.value_or(""));
  return 0;
}
