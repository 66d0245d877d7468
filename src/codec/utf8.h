// The UTF-8 form of one code point, shared by the codec, the build-time
// tool that asks iconv for the codec's tables, and their tests. Inline: it
// runs once per character of every conversion out of GBK.

#ifndef QUILLET_CODEC_UTF8_H_
#define QUILLET_CODEC_UTF8_H_

#include <cstdint>
#include <string>

namespace quillet {

// Writes the UTF-8 form of the code point cp (at most U+10FFFF, no
// surrogate) at out, one to four bytes; returns the end of what it wrote.
inline char* EncodeUtf8(std::uint32_t cp, char* out) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// The UTF-8 form of cp as a string.
inline std::string Utf8Of(std::uint32_t cp) {
  char buffer[4];
  return std::string(buffer, EncodeUtf8(cp, buffer));
}

}  // namespace quillet

#endif  // QUILLET_CODEC_UTF8_H_
