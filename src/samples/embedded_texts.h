// The sample text files of src/samples/texts as the build embedded them:
// UTF-8, LF line breaks, without the final line break of each file. Only
// samples.cc converts them to the GBK form the rest of Quillet uses; the
// raw form is declared here so that a test can check every character
// converts. The constants are constant-initialised, free to read at any time.

#ifndef QUILLET_SAMPLES_EMBEDDED_TEXTS_H_
#define QUILLET_SAMPLES_EMBEDDED_TEXTS_H_

#include <string_view>

namespace quillet::embedded {

extern const std::string_view kInitialTitle;
extern const std::string_view kInitialText;
extern const std::string_view kChineseSampleTitle;
extern const std::string_view kChineseSampleText;
extern const std::string_view kEnglishSampleTitle;
extern const std::string_view kEnglishSampleText;
extern const std::string_view kContactLine;

}  // namespace quillet::embedded

#endif  // QUILLET_SAMPLES_EMBEDDED_TEXTS_H_
