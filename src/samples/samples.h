// The built-in texts: the article the window opens with, the Chinese and
// the English sample, and the contact line. They are kept as readable UTF-8
// files beside this header and embedded at build time; the accessors hand
// them out as the window's fields hold them (GBK, line breaks CR LF).

#ifndef QUILLET_SAMPLES_SAMPLES_H_
#define QUILLET_SAMPLES_SAMPLES_H_

#include <optional>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet {

struct Sample {
  GbkText title;
  GbkText text;
};

enum class SampleName { kInitial, kChinese, kEnglish };

// InitialTitle/InitialText, ChineseSampleTitle/ChineseSampleText,
// EnglishSampleTitle/EnglishSampleText.
const Sample& GetSample(SampleName name);

// "initial", "chinese" or "english"; nullopt for any other name.
std::optional<SampleName> SampleByName(std::string_view name);

const GbkText& ContactLine();

}  // namespace quillet

#endif  // QUILLET_SAMPLES_SAMPLES_H_
