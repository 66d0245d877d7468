#include "reference/iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "codec/gbk_codec.h"

namespace quillet::reference {

namespace {

constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence at utf8[i], 0 when none starts
// there: FindInvalidUtf8 asked of the stretch from i on.
std::size_t SequenceLength(std::string_view utf8, std::size_t i) {
  const std::string_view rest = utf8.substr(i, 4);
  for (std::size_t length = 1; length <= rest.size(); ++length) {
    if (!FindInvalidUtf8(rest.substr(0, length))) return length;
  }
  return 0;
}

// One iconv descriptor. Each thread has its own (below), so conversions may
// run on several threads at once.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") +
                               from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of in as converts cleanly, appending to out. Returns
  // the number of bytes of in consumed; fewer than in.size() means that
  // the character at that offset does not convert.
  std::size_t Convert(std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char buffer[4096];
    while (src_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t result = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, sizeof buffer - dst_left);
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    // Back to the initial state, so that the next call starts clean.
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return in.size() - src_left;
  }

 private:
  iconv_t cd_;
};

// The calling thread's descriptors, opened at its first conversion and kept:
// opening and closing one takes a process-wide lock inside iconv, which a
// batch on several threads would otherwise contend for at every text.
Converter& ToGbkConverter() {
  thread_local Converter converter("CP936", "UTF-8");
  return converter;
}

Converter& ToUtf8Converter() {
  thread_local Converter converter("UTF-8", "CP936");
  return converter;
}

}  // namespace

GbkText Utf8ToGbk(std::string_view utf8, std::size_t* replaced) {
  Converter& converter = ToGbkConverter();
  std::string out;
  out.reserve(utf8.size());
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    // The longest stretch of well-formed characters other than U+0000 goes
    // to iconv in one piece; the character that stops it is replaced.
    std::size_t end = i;
    std::size_t length = 0;
    while (end < utf8.size() && utf8[end] != '\0' &&
           (length = SequenceLength(utf8, end)) != 0) {
      end += length;
    }
    while (i < end) {
      i += converter.Convert(utf8.substr(i, end - i), out);
      if (i < end) {  // a character that GBK cannot hold
        out += '?';
        ++count;
        i += SequenceLength(utf8, i);
      }
    }
    if (i < utf8.size()) {  // U+0000, or one byte of an ill-formed sequence
      out += '?';
      ++count;
      ++i;
    }
  }
  if (replaced != nullptr) *replaced = count;
  return GbkText(std::move(out));
}

std::string GbkToUtf8(std::string_view gbk) {
  Converter& converter = ToUtf8Converter();
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  std::size_t i = 0;
  while (i < gbk.size()) {
    i += converter.Convert(gbk.substr(i), out);
    if (i < gbk.size()) {  // not a character, or a lone first byte at the end
      out += kReplacementCharacter;
      ++i;
    }
  }
  return out;
}

}  // namespace quillet::reference
