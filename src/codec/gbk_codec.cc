#include "codec/gbk_codec.h"

#include <cstdint>
#include <cstring>
#include <iterator>

#include "codec/utf8.h"

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

// Whether the eight bytes at p are all ASCII and none is NUL: the test of
// the fast path over plain text, a word at a time.
bool IsPlainAscii8(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  const bool has_high = (v & kHighs) != 0;
  const bool has_zero = ((v - kOnes) & ~v & kHighs) != 0;
  return !has_high && !has_zero;
}

// The first offset >= i where fewer than eight bytes are left or the next
// eight are not all ASCII (NUL counts as ASCII here), stepping eight bytes
// at a time.
std::size_t SkipAscii(std::string_view text, std::size_t i) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  while (i + 8 <= text.size()) {
    std::uint64_t v;
    std::memcpy(&v, p + i, sizeof v);
    if ((v & 0x8080808080808080ULL) != 0) break;
    i += 8;
  }
  return i;
}

#include "codec/gbk_tables.inc"

bool IsDropped(std::uint32_t cp) {
  for (std::size_t i = 0; i + 1 < std::size(kDroppedRanges); i += 2) {
    if (cp >= kDroppedRanges[i] && cp <= kDroppedRanges[i + 1]) return true;
  }
  return false;
}

// The code point of the well-formed sequence of length bytes at p.
std::uint32_t DecodeUtf8(const unsigned char* p, std::size_t length) {
  switch (length) {
    case 2:
      return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    case 3:
      return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    default:
      return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 |
             (p[3] & 0x3Fu);
  }
}

}  // namespace

std::optional<std::size_t> FindInvalidUtf8(std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    i = SkipAscii(utf8, i);
    if (i == utf8.size()) break;
    const std::size_t length = Utf8SequenceLength(utf8, i);
    if (length == 0) return i;
    i += length;
  }
  return std::nullopt;
}

namespace {

// The conversion of Utf8ToGbk. When strict, it gives up (nullopt) at a
// NUL byte or the first ill-formed sequence instead of writing "?".
template <bool kStrict>
std::optional<GbkText> ConvertUtf8(std::string_view utf8, std::size_t* replaced) {
  // No character gets longer: ASCII stays one byte, every other character
  // of two to four UTF-8 bytes becomes at most two, and a replaced byte or
  // character one.
  std::string out(utf8.size(), '\0');
  char* o = out.data();
  const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    // Eight bytes at a time while they are ASCII other than NUL.
    while (i + 8 <= utf8.size() && IsPlainAscii8(in + i)) {
      std::memcpy(o, in + i, 8);
      o += 8;
      i += 8;
    }
    if (i == utf8.size()) break;
    const unsigned char b = in[i];
    if (b != 0 && b < 0x80) {
      *o++ = static_cast<char>(b);
      ++i;
      continue;
    }
    const std::size_t length = b == 0 ? 0 : Utf8SequenceLength(utf8, i);
    if (length == 0) {  // U+0000, or one byte of an ill-formed sequence
      if (kStrict) return std::nullopt;
      *o++ = '?';
      ++count;
      ++i;
      continue;
    }
    const std::uint32_t cp = DecodeUtf8(in + i, length);
    i += length;
    const std::uint16_t gbk = cp <= 0xFFFF ? kUnicodeToGbk[cp] : 0;
    if (gbk >= 0x100) {
      *o++ = static_cast<char>(gbk >> 8);
      *o++ = static_cast<char>(gbk & 0xFF);
    } else if (gbk != 0) {
      *o++ = static_cast<char>(gbk);
    } else if (cp <= 0xFFFF || !IsDropped(cp)) {  // GBK cannot hold it
      *o++ = '?';
      ++count;
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  if (replaced != nullptr) *replaced = count;
  return GbkText(std::move(out));
}

}  // namespace

GbkText Utf8ToGbk(std::string_view utf8, std::size_t* replaced) {
  return *ConvertUtf8<false>(utf8, replaced);
}

std::optional<GbkText> WellFormedUtf8ToGbk(std::string_view utf8, std::size_t* replaced) {
  return ConvertUtf8<true>(utf8, replaced);
}

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  AppendGbkToUtf8(gbk, out);
  return out;
}

void AppendGbkToUtf8(std::string_view gbk, std::string& out) {
  // At most three bytes for each byte: a pair gives at most three, and so
  // does a byte that becomes U+FFFD.
  const std::size_t start = out.size();
  out.resize(start + gbk.size() * 3);
  char* const begin = out.data();
  char* o = begin + start;
  const auto* in = reinterpret_cast<const unsigned char*>(gbk.data());
  const std::size_t n = gbk.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b = in[i];
    if (b < 0x80) {
      *o++ = static_cast<char>(b);
      ++i;
      continue;
    }
    if (i + 1 < n) {
      if (const std::uint16_t cp = kPairToUnicode[(b - 0x80) * 256 + in[i + 1]]) {
        o = EncodeUtf8(cp, o);
        i += 2;
        continue;
      }
    }
    if (const std::uint16_t cp = kHighByteToUnicode[b - 0x80]) {
      o = EncodeUtf8(cp, o);
    } else {  // not a character, or a lone first byte at the end
      for (const char c : std::string_view(kReplacementCharacter)) *o++ = c;
    }
    ++i;
  }
  out.resize(static_cast<std::size_t>(o - begin));
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t i = 0;
  while (i < text.size()) {
    // The bytes up to the next line break go over in one piece.
    std::size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    out.append(text.substr(i, end - i));
    if (end == text.size()) break;
    out += "\r\n";
    i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
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
