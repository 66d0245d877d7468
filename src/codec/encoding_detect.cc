#include "codec/encoding_detect.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

#include "codec/gbk_codec.h"

namespace quillet {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kGb18030Mark = "\x84\x31\x95\x33";  // U+FEFF

// A character that text does not hold: C0 controls other than tab, line
// feed and carriage return, and DEL. In GB18030 no byte below 0x30 and no
// 0x7F is part of a longer sequence, so bytes can be tested one by one.
bool IsControl(std::uint32_t c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

std::string OffsetText(std::size_t offset) {
  return "byte offset " + std::to_string(offset);
}

std::string HexByte(unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

void AppendUtf8(std::uint32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Where UTF-16 stops being usable, and why.
struct Utf16Problem {
  std::size_t offset;
  const char* what;  // nullptr for U+0000
};

// Decodes UTF-16 (no byte-order mark) into UTF-8, appended to *utf8 unless
// it is null. Returns the first problem: U+0000, an unpaired surrogate, a
// final odd byte, and with text_only also a control character or one of
// the noncharacters U+FFFE and U+FFFF, which no text holds.
std::optional<Utf16Problem> ReadUtf16(std::string_view bytes, bool big_endian,
                                      bool text_only, std::string* utf8) {
  const auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0;
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    std::uint32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return Utf16Problem{i, "an unpaired surrogate"};
    if (c >= 0xD800 && c <= 0xDBFF) {
      const std::uint32_t low = i + 3 < bytes.size() ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return Utf16Problem{i, "an unpaired surrogate"};
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      if (utf8 != nullptr) AppendUtf8(c, utf8);
      i += 2;
      continue;
    }
    if (c == 0) return Utf16Problem{i, nullptr};
    if (text_only && (IsControl(c) || c == 0xFFFE || c == 0xFFFF)) {
      return Utf16Problem{i, "not text"};
    }
    if (utf8 != nullptr) AppendUtf8(c, utf8);
  }
  if (i < bytes.size()) return Utf16Problem{i, "an odd number of bytes"};
  return std::nullopt;
}

// The calling thread's GB18030 decoder (see the header for why per thread).
class Gb18030Decoder {
 public:
  Gb18030Decoder() : cd_(iconv_open("UTF-8", "GB18030")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("iconv cannot convert from GB18030 to UTF-8");
    }
  }
  ~Gb18030Decoder() { iconv_close(cd_); }
  Gb18030Decoder(const Gb18030Decoder&) = delete;
  Gb18030Decoder& operator=(const Gb18030Decoder&) = delete;

  // Appends the UTF-8 of gb to *utf8 as far as gb is valid GB18030;
  // returns the offset of the first invalid or truncated sequence, or
  // nullopt when all of it is valid.
  std::optional<std::size_t> Decode(std::string_view gb, std::string* utf8) {
    char* src = const_cast<char*>(gb.data());
    std::size_t src_left = gb.size();
    char buffer[4096];
    bool failed = false;
    while (src_left > 0 && !failed) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      failed = iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) &&
               errno != E2BIG;
      utf8->append(buffer, sizeof buffer - dst_left);
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    if (src_left == 0) return std::nullopt;
    return gb.size() - src_left;
  }

  static Gb18030Decoder& ForThisThread() {
    thread_local Gb18030Decoder decoder;
    return decoder;
  }

 private:
  iconv_t cd_;
};

// The UTF-8 text utf8 (known to be well-formed) in GBK.
void FromUtf8(std::string_view utf8, ReadEncoding encoding, DecodedText* decoded) {
  decoded->encoding = encoding;
  decoded->text = Utf8ToGbk(utf8, &decoded->replaced);
}

bool RefuseNul(std::string_view bytes, std::size_t base, std::string* error) {
  const std::size_t nul = bytes.find('\0');
  if (nul == std::string_view::npos) return false;
  *error = "NUL byte at offset " + std::to_string(base + nul);
  return true;
}

// The decoders of each encoding over the bytes after a byte-order mark of
// base bytes; offsets in messages count from the start of the input.

// The common case, UTF-8 without NUL, in one pass; false when bytes are
// not that, with decoded untouched.
bool DecodePlainUtf8(std::string_view bytes, DecodedText* decoded) {
  std::size_t replaced = 0;
  std::optional<GbkText> text = WellFormedUtf8ToGbk(bytes, &replaced);
  if (!text) return false;
  decoded->encoding = ReadEncoding::kUtf8;
  decoded->text = std::move(*text);
  decoded->replaced = replaced;
  return true;
}

bool DecodeUtf8(std::string_view bytes, std::size_t base, DecodedText* decoded,
                std::string* error) {
  if (DecodePlainUtf8(bytes, decoded)) return true;
  if (RefuseNul(bytes, base, error)) return false;
  if (const std::optional<std::size_t> bad = FindInvalidUtf8(bytes)) {
    *error = "invalid UTF-8 at " + OffsetText(base + *bad);
    return false;
  }
  FromUtf8(bytes, ReadEncoding::kUtf8, decoded);
  return true;
}

bool DecodeGbk(std::string_view bytes, std::size_t base, DecodedText* decoded,
               std::string* error) {
  if (RefuseNul(bytes, base, error)) return false;
  decoded->encoding = ReadEncoding::kGbk;
  decoded->text = GbkText(bytes);
  return true;
}

bool DecodeGb18030(std::string_view bytes, std::size_t base, DecodedText* decoded,
                   std::string* error) {
  if (RefuseNul(bytes, base, error)) return false;
  std::string utf8;
  if (const std::optional<std::size_t> bad =
          Gb18030Decoder::ForThisThread().Decode(bytes, &utf8)) {
    *error = "invalid GB18030 at " + OffsetText(base + *bad);
    return false;
  }
  FromUtf8(utf8, ReadEncoding::kGb18030, decoded);
  return true;
}

bool DecodeUtf16(std::string_view bytes, std::size_t base, bool big_endian,
                 DecodedText* decoded, std::string* error) {
  std::string utf8;
  if (const std::optional<Utf16Problem> problem =
          ReadUtf16(bytes, big_endian, false, &utf8)) {
    const std::string at = OffsetText(base + problem->offset);
    *error = problem->what == nullptr ? "NUL character at " + at
                                      : "invalid UTF-16 at " + at + " (" + problem->what + ")";
    return false;
  }
  FromUtf8(utf8, big_endian ? ReadEncoding::kUtf16Be : ReadEncoding::kUtf16Le, decoded);
  return true;
}

bool ReadsAsUtf16Text(std::string_view bytes, bool big_endian) {
  return !ReadUtf16(bytes, big_endian, true, nullptr).has_value();
}

std::optional<std::size_t> FindControl(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == 0 || IsControl(byte)) return i;
  }
  return std::nullopt;
}

// Why bytes that are neither UTF-8 nor GB18030 text are what they are.
// UTF-16 text almost always holds a NUL or control byte (a line break is
// 0A 00, ASCII letters come with 00, "。" is 02 30), and reads cleanly as
// UTF-16, which other bytes with controls seldom do.
const char* LikelyCause(std::string_view bytes) {
  if (!FindControl(bytes)) return "likely an encoding other than UTF-8, GB18030 and UTF-16";
  if (bytes.size() % 2 == 0 &&
      (ReadsAsUtf16Text(bytes, false) || ReadsAsUtf16Text(bytes, true))) {
    return "likely UTF-16 without a byte-order mark";
  }
  return "likely a binary file, not text";
}

bool DecodeAuto(std::string_view bytes, DecodedText* decoded, std::string* error) {
  if (bytes.starts_with(kUtf16LeMark)) {
    return DecodeUtf16(bytes.substr(2), 2, false, decoded, error);
  }
  if (bytes.starts_with(kUtf16BeMark)) {
    return DecodeUtf16(bytes.substr(2), 2, true, decoded, error);
  }
  if (bytes.starts_with(kUtf8Mark)) return DecodeUtf8(bytes.substr(3), 3, decoded, error);
  if (bytes.starts_with(kGb18030Mark)) {
    return DecodeGb18030(bytes.substr(4), 4, decoded, error);
  }

  if (DecodePlainUtf8(bytes, decoded)) return true;
  const std::optional<std::size_t> not_utf8 = FindInvalidUtf8(bytes);
  const std::size_t nul = bytes.find('\0');
  if (!not_utf8 && nul == std::string_view::npos) {
    FromUtf8(bytes, ReadEncoding::kUtf8, decoded);
    return true;
  }
  // Else GB18030 text, up to its first control character or invalid
  // sequence (a NUL byte being the first when the bytes are UTF-8).
  std::string utf8;
  const std::optional<std::size_t> control = FindControl(bytes);
  const std::optional<std::size_t> invalid = Gb18030Decoder::ForThisThread().Decode(
      bytes.substr(0, control.value_or(bytes.size())), &utf8);
  if (!control && !invalid) {
    FromUtf8(utf8, ReadEncoding::kGb18030, decoded);
    decoded->guessed_after = not_utf8;
    return true;
  }
  const std::size_t offending = invalid.value_or(*control);
  *error = "not UTF-8 or GB18030 text: byte " +
           HexByte(static_cast<unsigned char>(bytes[offending])) + " at offset " +
           std::to_string(offending) + " (" + LikelyCause(bytes) + ")";
  return false;
}

}  // namespace

const char* EncodingName(ReadEncoding encoding) {
  switch (encoding) {
    case ReadEncoding::kUtf8: return "UTF-8";
    case ReadEncoding::kGbk: return "GBK";
    case ReadEncoding::kGb18030: return "GB18030";
    case ReadEncoding::kUtf16Le: return "UTF-16LE";
    case ReadEncoding::kUtf16Be: return "UTF-16BE";
  }
  return "?";
}

bool DecodeText(std::string_view bytes, TextEncoding encoding, DecodedText* decoded,
                std::string* error) {
  *decoded = DecodedText();
  switch (encoding) {
    case TextEncoding::kAuto:
      return DecodeAuto(bytes, decoded, error);
    case TextEncoding::kUtf8:
      if (bytes.starts_with(kUtf8Mark)) return DecodeUtf8(bytes.substr(3), 3, decoded, error);
      return DecodeUtf8(bytes, 0, decoded, error);
    case TextEncoding::kGbk:
      // GBK has no byte-order mark of its own; GB18030's is no GBK text.
      if (bytes.starts_with(kGb18030Mark)) return DecodeGbk(bytes.substr(4), 4, decoded, error);
      return DecodeGbk(bytes, 0, decoded, error);
    case TextEncoding::kGb18030:
      if (bytes.starts_with(kGb18030Mark)) {
        return DecodeGb18030(bytes.substr(4), 4, decoded, error);
      }
      return DecodeGb18030(bytes, 0, decoded, error);
    case TextEncoding::kUtf16:
      if (bytes.starts_with(kUtf16LeMark)) {
        return DecodeUtf16(bytes.substr(2), 2, false, decoded, error);
      }
      if (bytes.starts_with(kUtf16BeMark)) {
        return DecodeUtf16(bytes.substr(2), 2, true, decoded, error);
      }
      // Without a mark: little-endian, as Windows saves it.
      return DecodeUtf16(bytes, 0, false, decoded, error);
  }
  return false;
}

}  // namespace quillet
