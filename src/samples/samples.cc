#include "samples/samples.h"

#include <array>

#include "codec/gbk_codec.h"
#include "samples/embedded_texts.h"

namespace quillet {

namespace {

// Converted once, at first use, and shared for the rest of the program.
const std::array<Sample, 3>& AllSamples() {
  static const std::array<Sample, 3> samples = {
      Sample{Utf8ToField(embedded::kInitialTitle), Utf8ToField(embedded::kInitialText)},
      Sample{Utf8ToField(embedded::kChineseSampleTitle),
             Utf8ToField(embedded::kChineseSampleText)},
      Sample{Utf8ToField(embedded::kEnglishSampleTitle),
             Utf8ToField(embedded::kEnglishSampleText)},
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
  static const GbkText line = Utf8ToField(embedded::kContactLine);
  return line;
}

}  // namespace quillet
