#include "samples/samples.h"

#include <array>

#include "codec/gbk_codec.h"
#include "samples/embedded_texts.h"

namespace quillet {

namespace {

GbkText ToFieldForm(std::string_view utf8) { return Utf8ToGbk(ToCrLf(utf8)); }

// Converted once, at first use, and shared for the rest of the program.
const std::array<Sample, 3>& AllSamples() {
  static const std::array<Sample, 3> samples = {
      Sample{ToFieldForm(embedded::kInitialTitle), ToFieldForm(embedded::kInitialText)},
      Sample{ToFieldForm(embedded::kChineseSampleTitle),
             ToFieldForm(embedded::kChineseSampleText)},
      Sample{ToFieldForm(embedded::kEnglishSampleTitle),
             ToFieldForm(embedded::kEnglishSampleText)},
  };
  return samples;
}

}  // namespace

const Sample& GetSample(SampleName name) {
  switch (name) {
    case SampleName::kInitial: return AllSamples()[0];
    case SampleName::kChinese: return AllSamples()[1];
    case SampleName::kEnglish: return AllSamples()[2];
  }
  return AllSamples()[0];  // not reached: every name is handled above
}

std::optional<SampleName> SampleByName(std::string_view name) {
  if (name == "initial") return SampleName::kInitial;
  if (name == "chinese") return SampleName::kChinese;
  if (name == "english") return SampleName::kEnglish;
  return std::nullopt;
}

const GbkText& ContactLine() {
  static const GbkText line = ToFieldForm(embedded::kContactLine);
  return line;
}

}  // namespace quillet
