#include "codec/gbk_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace quillet {

namespace {

constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence that starts at utf8[i], or 0
// when none starts there (stray continuation byte, overlong form, surrogate,
// code point above U+10FFFF, truncated sequence).
std::size_t Utf8SequenceLength(std::string_view utf8, std::size_t i) {
  const auto byte = [&](std::size_t k) {
    return static_cast<unsigned char>(utf8[k]);
  };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80;  // bounds of the second byte
  unsigned char high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;   // overlong below U+0800
    if (b0 == 0xED) high = 0x9F;  // surrogates U+D800..U+DFFF
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;   // overlong below U+10000
    if (b0 == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > utf8.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
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

std::optional<std::size_t> FindInvalidUtf8(std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t length = Utf8SequenceLength(utf8, i);
    if (length == 0) return i;
    i += length;
  }
  return std::nullopt;
}

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
           (length = Utf8SequenceLength(utf8, end)) != 0) {
      end += length;
    }
    while (i < end) {
      i += converter.Convert(utf8.substr(i, end - i), out);
      if (i < end) {  // a character that GBK cannot hold
        out += '?';
        ++count;
        i += Utf8SequenceLength(utf8, i);
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

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ToLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

GbkText Utf8ToField(std::string_view utf8, std::size_t* replaced) {
  return Utf8ToGbk(ToCrLf(utf8), replaced);
}

std::string FieldToUtf8(const GbkText& field) {
  return GbkToUtf8(ToLf(field.view()));
}

}  // namespace quillet
