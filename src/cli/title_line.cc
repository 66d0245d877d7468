#include "cli/title_line.h"

#include <string_view>

#include "text/gbk_char.h"

namespace quillet::cli {

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // U+3000 in GBK

// The line without blanks at either end. Walks whole GBK characters, so
// that the second byte of a character is never taken for a blank.
std::string_view TrimBlanks(std::string_view line) {
  std::size_t first = line.size();
  std::size_t last_end = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    const auto byte = static_cast<unsigned char>(line[i]);
    const std::size_t length = CharWidthAt(line, i);
    const bool blank = byte == ' ' || byte == '\t' || line.substr(i, 2) == kFullWidthSpace;
    if (!blank) {
      if (first == line.size()) first = i;
      last_end = i + length;
    }
    i += length;
  }
  if (first == line.size()) return {};
  return line.substr(first, last_end - first);
}

}  // namespace

TitledArticle SplitTitleLine(const GbkText& text) {
  const std::string_view all = text.view();
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = all.find("\r\n", start);
    const std::string_view line =
        all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (const std::string_view title = TrimBlanks(line); !title.empty()) {
      return {GbkText(title),
              end == std::string_view::npos ? GbkText() : GbkText(all.substr(end + 2))};
    }
    if (end == std::string_view::npos) return {GbkText(), text};
    start = end + 2;
  }
}

}  // namespace quillet::cli
