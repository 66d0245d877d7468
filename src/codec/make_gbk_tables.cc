// make_gbk_tables OUT: writes to the file OUT the conversion tables of the
// GBK codec, asked of the system's iconv ("CP936") character by character
// at build time, so that a conversion at run time is a table lookup per
// character and gives exactly what iconv gives. Fails (status 1, a line on
// standard error) where code page 936 does not have the shape the tables
// assume: ASCII mapped to itself, every character one BMP code point, and
// every code point beyond the BMP either without a GBK form or dropped
// (iconv drops the tag characters U+E0000..U+E007F).

#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codec/utf8.h"

namespace {

using quillet::Utf8Of;

[[noreturn]] void Fail(const char* what, unsigned value) {
  std::fprintf(stderr, "make_gbk_tables: %s (0x%X)\n", what, value);
  std::exit(1);
}

// Converts all of in with cd; false when iconv stops before its end.
bool ConvertAll(iconv_t cd, const std::string& in, std::string* out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buffer[32];
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = buffer;
  std::size_t dst_left = sizeof buffer;
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) ||
      src_left != 0) {
    return false;
  }
  out->assign(buffer, sizeof buffer - dst_left);
  return true;
}

// The code point of utf8 when it is exactly one BMP character, else 0.
std::uint32_t OneBmpCodePoint(const std::string& utf8) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  if (utf8.size() == 1 && b(0) < 0x80) return b(0);
  if (utf8.size() == 2 && (b(0) & 0xE0) == 0xC0) {
    return (b(0) & 0x1Fu) << 6 | (b(1) & 0x3Fu);
  }
  if (utf8.size() == 3 && (b(0) & 0xF0) == 0xE0) {
    return (b(0) & 0x0Fu) << 12 | (b(1) & 0x3Fu) << 6 | (b(2) & 0x3Fu);
  }
  return 0;
}

std::string Hex(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

void PrintTable(std::string& text, const char* declaration,
                const std::vector<std::uint16_t>& values) {
  text += declaration;
  text += " = {\n";
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += i % 16 == 0 ? "  " : "";
    text += Hex(values[i]);
    text += i % 16 == 15 || i + 1 == values.size() ? ",\n" : ", ";
  }
  text += "};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
    return 2;
  }
  iconv_t decode = iconv_open("UTF-8", "CP936");
  iconv_t encode = iconv_open("CP936", "UTF-8");
  if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1)) {
    Fail("iconv cannot convert between CP936 and UTF-8", 0);
  }
  std::string out;

  // One byte: ASCII must be itself; a byte 0x80..0xFF may be a character.
  for (unsigned b = 0x00; b < 0x80; ++b) {
    if (!ConvertAll(decode, std::string(1, static_cast<char>(b)), &out) ||
        out != std::string(1, static_cast<char>(b))) {
      Fail("an ASCII byte does not decode to itself", b);
    }
  }
  std::vector<std::uint16_t> high_byte(128, 0);
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    if (ConvertAll(decode, std::string(1, static_cast<char>(b)), &out)) {
      const std::uint32_t cp = OneBmpCodePoint(out);
      if (cp == 0) Fail("a byte decodes to no single BMP character", b);
      high_byte[b - 0x80] = static_cast<std::uint16_t>(cp);
    }
  }

  // Two bytes with a first byte 0x80..0xFF.
  std::vector<std::uint16_t> pair(128 * 256, 0);
  for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
    for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string bytes = {static_cast<char>(lead), static_cast<char>(trail)};
      if (!ConvertAll(decode, bytes, &out)) continue;
      const std::uint32_t cp = OneBmpCodePoint(out);
      // Two characters (a one-byte one, then another) are not a pair.
      if (cp == 0) continue;
      pair[(lead - 0x80) * 256 + trail] = static_cast<std::uint16_t>(cp);
    }
  }

  // Every BMP code point but U+0000 and the surrogates; beyond the BMP,
  // the ranges of code points that iconv drops.
  std::vector<std::uint16_t> to_gbk(0x10000, 0);
  std::vector<std::uint32_t> dropped;  // first, last, first, last, ...
  for (std::uint32_t cp = 0x01; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (!ConvertAll(encode, Utf8Of(cp), &out)) continue;
    if (cp > 0xFFFF) {
      if (!out.empty()) Fail("a code point beyond the BMP has a GBK form", cp);
      if (!dropped.empty() && dropped.back() + 1 == cp) {
        dropped.back() = cp;
      } else {
        dropped.push_back(cp);
        dropped.push_back(cp);
      }
      continue;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(out[i]); };
    if (out.size() == 1 && byte(0) != 0) {
      to_gbk[cp] = byte(0);
    } else if (out.size() == 2 && byte(0) >= 0x80 && byte(1) != 0) {
      to_gbk[cp] = static_cast<std::uint16_t>(byte(0) << 8 | byte(1));
    } else {
      Fail("a code point converts to neither one byte nor a pair", cp);
    }
  }
  iconv_close(decode);
  iconv_close(encode);

  std::string text = "// Generated by make_gbk_tables from the system's iconv (CP936).\n\n";
  PrintTable(text, "// The character of each byte 0x80 + i on its own; 0: none.\n"
             "constexpr std::uint16_t kHighByteToUnicode[128]", high_byte);
  PrintTable(text, "// The character of the pair (0x80 + i / 256, i % 256); 0: none.\n"
             "constexpr std::uint16_t kPairToUnicode[128 * 256]", pair);
  text += "// Code points beyond the BMP that convert to nothing, as\n"
          "// (first, last) ranges.\n"
          "constexpr std::uint32_t kDroppedRanges[] = {";
  for (std::size_t i = 0; i < dropped.size(); ++i) {
    text += (i == 0 ? "" : ", ") + Hex(dropped[i]);
  }
  text += "};\n\n";
  PrintTable(text, "// The GBK form of each BMP code point: one byte when below 0x100,\n"
             "// else first byte * 256 + second byte; 0: none.\n"
             "constexpr std::uint16_t kUnicodeToGbk[0x10000]", to_gbk);
  std::FILE* out_file = std::fopen(argv[1], "wb");
  if (out_file == nullptr ||
      std::fwrite(text.data(), 1, text.size(), out_file) != text.size() ||
      std::fclose(out_file) != 0) {
    std::fprintf(stderr, "make_gbk_tables: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
