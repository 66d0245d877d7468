#include "text/text_ops.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>

#include "text/boundary_scan.h"
#include "text/gbk_char.h"

namespace quillet {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

using scan_internal::At;

// Below this many bytes FindText steps through the text character by
// character: setting up a scan costs more than the comparisons, and the
// scans of whole blocks need 16 places or more anyway. A sentence's head
// (four bytes) is searched this way some ten times per sentence.
constexpr std::size_t kShortText = 16;

// FindText's place (0-based) of sought in the short text t, or kNone: the
// first character boundary where the bytes match, letter case folded on
// both sides.
std::size_t FindInShortText(std::string_view t, std::string_view sought) {
  const std::size_t k = sought.size();
  for (std::size_t q = 0; q + k <= t.size(); q += CharWidthAt(t, q)) {
    std::size_t i = 0;
    while (i < k && FoldAsciiCase(At(t, q + i)) == FoldAsciiCase(At(sought, i))) ++i;
    if (i == k) return q;
  }
  return kNone;
}

// Applies the full-width mapping of the number parsers, character by
// character. A text of ASCII bytes only (the number cells) maps to itself
// and is handed back as it is; otherwise the mapped text is built in
// storage.
std::string_view MapFullWidth(std::string_view t, std::string& storage) {
  if (std::none_of(t.begin(), t.end(),
                   [](char c) { return IsHighByte(static_cast<unsigned char>(c)); })) {
    return t;
  }
  std::string& out = storage;
  out.clear();
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    if (CharWidthAt(t, i) == 1) {
      out += t[i++];
      continue;
    }
    const unsigned char first = At(t, i);
    const unsigned char second = At(t, i + 1);
    if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      out += static_cast<char>(second - 0x80);
    } else if (first == 0xA1 && second == 0xA1) {
      out += ' ';
    } else if (first == 0xA1 && second == 0xAB) {
      out += '~';
    } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
      out += '*';
    } else {
      out += t.substr(i, 2);
    }
    i += 2;
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWhiteSpace(char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

// Index of the first byte of s that is not white space.
std::size_t SkipWhiteSpace(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsWhiteSpace(s[i])) ++i;
  return i;
}

// The parts of the decimal prefix read by TextToNumber.
struct DecimalPrefix {
  bool negative = false;
  std::string_view mantissa;   // digits with at most one "."
  bool exponent_negative = false;
  std::string_view exponent;   // digits, possibly empty
};

// Reads [+-]digits[.digits][(e|E|d|D)[+-]digits] at the start of s; false
// when s does not start with such a prefix.
bool ReadDecimalPrefix(std::string_view s, DecimalPrefix* prefix) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    prefix->negative = s[i] == '-';
    ++i;
  }
  const std::size_t mantissa_start = i;
  bool seen_point = false;
  bool seen_digit = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      seen_digit = true;
    } else if (s[i] == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (!seen_digit) return false;
  prefix->mantissa = s.substr(mantissa_start, i - mantissa_start);
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' ||
                       s[i] == 'D')) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      negative = s[j] == '-';
      ++j;
    }
    const std::size_t digits_start = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > digits_start) {
      prefix->exponent_negative = negative;
      prefix->exponent = s.substr(digits_start, j - digits_start);
    }
  }
  return true;
}

// Value of a prefix whose conversion left the double range: infinity when
// its decimal magnitude is large, zero when it is small. The magnitude is
// the decimal exponent of the first non-zero digit; results out of range
// lie hundreds of decades from 10^0, so its sign decides.
double OutOfRangeValue(const DecimalPrefix& prefix) {
  const std::string_view m = prefix.mantissa;
  const std::size_t point = std::min(m.find('.'), m.size());
  const std::size_t first = m.find_first_not_of("0.");
  if (first == kNone) return 0.0;
  const long long lead = first < point
                             ? static_cast<long long>(point - first) - 1
                             : -static_cast<long long>(first - point);
  constexpr long long kExponentCap = 1000000000;
  long long exponent = 0;
  for (char c : prefix.exponent) {
    exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
  }
  if (prefix.exponent_negative) exponent = -exponent;
  return lead + exponent > 0 ? HUGE_VAL : 0.0;
}

// The 13 significant digits and decimal exponent of a finite x > 0.
struct Digits13 {
  char digits[13];
  int exponent;
};

Digits13 RoundTo13Digits(double x) {
  // "d.dddddddddddddddde+XX": 17 correctly rounded significant digits.
  char buf[64];
  const auto result =
      std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 16);
  const std::string_view text(buf, result.ptr - buf);
  const std::size_t e = text.find('e');
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1),
                  text.data() + text.size(), exponent);
  char all[17];
  all[0] = text[0];
  std::memcpy(all + 1, text.data() + 2, 16);

  Digits13 r;
  std::memcpy(r.digits, all, 13);
  r.exponent = exponent;
  if (all[13] >= '5') {
    int i = 12;
    while (i >= 0 && r.digits[i] == '9') r.digits[i--] = '0';
    if (i >= 0) {
      ++r.digits[i];
    } else {
      // 9999999999999 rounded up: 1 followed by twelve zeros, one decade up.
      r.digits[0] = '1';
      ++r.exponent;
    }
  }
  return r;
}

std::string FormatDigits13(const Digits13& d) {
  std::string_view digits(d.digits, 13);
  while (digits.size() > 1 && digits.back() == '0') digits.remove_suffix(1);
  const int e = d.exponent;
  std::string out;
  if (e < -4 || e >= 13) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'e';
    out += e < 0 ? '-' : '+';
    std::string exponent = std::to_string(e < 0 ? -e : e);
    if (exponent.size() < 3) exponent.insert(0, 3 - exponent.size(), '0');
    out += exponent;
  } else if (e >= 0) {
    const std::size_t integer_digits = static_cast<std::size_t>(e) + 1;
    if (digits.size() <= integer_digits) {
      out += digits;
      out.append(integer_digits - digits.size(), '0');
    } else {
      out += digits.substr(0, integer_digits);
      out += '.';
      out += digits.substr(integer_digits);
    }
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-e - 1), '0');
    out += digits;
  }
  return out;
}

}  // namespace

int TextLength(const GbkText& t) { return static_cast<int>(t.size()); }

GbkText TextLeft(const GbkText& t, int n) {
  if (n <= 0) return GbkText();
  return GbkText(t.view().substr(0, static_cast<std::size_t>(n)));
}

GbkText TextRight(const GbkText& t, int n) {
  if (n <= 0) return GbkText();
  const std::size_t count = std::min(static_cast<std::size_t>(n), t.size());
  return GbkText(t.view().substr(t.size() - count));
}

int FindText(const GbkText& t, const GbkText& sought) {
  if (sought.empty()) return t.empty() ? -1 : 1;
  const std::size_t q = t.size() < kShortText
                            ? FindInShortText(t.view(), sought.view())
                            : BoundaryScan(t.view(), sought.view(), true).NextMatch(0);
  return q == kNone ? -1 : static_cast<int>(q) + 1;
}

int FindTextLast(const GbkText& t, const GbkText& sought) {
  if (sought.empty()) return t.empty() ? -1 : 1;
  const BoundaryScan scan(t.view(), sought.view(), false);
  std::size_t last = kNone;
  // After a match the cursor moves on by one character, so overlapping
  // matches are seen too.
  for (std::size_t q = scan.NextMatch(0); q != kNone;
       q = scan.NextMatch(q + CharWidthAt(t.view(), q))) {
    last = q;
  }
  return last == kNone ? -1 : static_cast<int>(last) + 1;
}

GbkText ReplaceAll(const GbkText& t, const GbkText& sought,
                   const GbkText& replacement) {
  if (t.empty() || sought.empty()) return t;
  const std::string_view text = t.view();
  const BoundaryScan scan(text, sought.view(), false);
  std::string out;
  out.reserve(text.size());
  std::size_t cursor = 0;
  for (std::size_t q = scan.NextMatch(0); q != kNone;
       q = scan.NextMatch(cursor)) {
    out.append(text.substr(cursor, q - cursor));
    out.append(replacement.view());
    cursor = q + sought.size();
  }
  out.append(text.substr(cursor));
  return GbkText(std::move(out));
}

TextList SplitText(const GbkText& t, const GbkText& separator) {
  TextList pieces;
  if (t.empty()) return pieces;
  if (separator.empty()) {
    pieces.push_back(t);
    return pieces;
  }
  const std::string_view text = t.view();
  const BoundaryScan scan(text, separator.view(), false);
  std::size_t start = 0;
  for (std::size_t q = scan.NextMatch(0); q != kNone;
       q = scan.NextMatch(start)) {
    pieces.emplace_back(text.substr(start, q - start));
    start = q + separator.size();
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

GbkText ConcatText(const GbkText& a, const GbkText& b) {
  GbkText out = a;
  out.Append(b);
  return out;
}

GbkText ConcatText(const GbkText& a, const GbkText& b, const GbkText& c) {
  std::string out;
  out.reserve(a.size() + b.size() + c.size());
  out.append(a.view()).append(b.view()).append(c.view());
  return GbkText(std::move(out));
}

GbkText ConcatText(const GbkText& a, const GbkText& b, const GbkText& c,
                   const GbkText& d) {
  std::string out;
  out.reserve(a.size() + b.size() + c.size() + d.size());
  out.append(a.view()).append(b.view()).append(c.view()).append(d.view());
  return GbkText(std::move(out));
}

bool TextEquals(const GbkText& a, const GbkText& b) { return a == b; }

std::string TextToBytes(const GbkText& t) { return t.bytes(); }

GbkText CharFromCode(unsigned char b) {
  if (b == 0) return GbkText();
  return GbkText(std::string(1, static_cast<char>(b)));
}

double TextToNumber(const GbkText& t) {
  std::string storage;
  const std::string_view mapped = MapFullWidth(t.view(), storage);
  const std::string_view s = mapped.substr(SkipWhiteSpace(mapped));
  DecimalPrefix prefix;
  if (!ReadDecimalPrefix(s, &prefix)) return 0.0;

  // from_chars takes no "+" and no "d" marker: rebuild the number in its
  // plain form.
  std::string number(prefix.mantissa);
  if (!prefix.exponent.empty()) {
    number += prefix.exponent_negative ? "e-" : "e";
    number += prefix.exponent;
  }
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(),
                                      value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = OutOfRangeValue(prefix);
  }
  return prefix.negative ? -value : value;
}

int32_t TextToInt(const GbkText& t) {
  std::string storage;
  const std::string_view mapped = MapFullWidth(t.view(), storage);
  std::size_t i = SkipWhiteSpace(mapped);
  bool negative = false;
  if (i < mapped.size() && (mapped[i] == '+' || mapped[i] == '-')) {
    negative = mapped[i] == '-';
    ++i;
  }
  // Accumulate the magnitude, stopping its growth once it is past every
  // 32-bit value; the sign and the limit are applied at the end.
  constexpr int64_t kCap = int64_t{1} << 32;
  int64_t magnitude = 0;
  for (; i < mapped.size() && IsDigit(mapped[i]); ++i) {
    if (magnitude < kCap) magnitude = magnitude * 10 + (mapped[i] - '0');
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (value < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

int32_t DoubleToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}

GbkText NumberToText(int32_t n) {
  char buf[16];
  const auto result = std::to_chars(buf, buf + sizeof buf, n);
  return GbkText(std::string_view(buf, result.ptr - buf));
}

GbkText NumberToText(double x) {
  if (std::isnan(x)) return GbkText("nan");
  if (x == 0.0) return GbkText("0");
  if (x < 0.0) return ConcatText(GbkText("-"), NumberToText(-x));
  if (std::isinf(x)) return GbkText("inf");
  return GbkText(FormatDigits13(RoundTo13Digits(x)));
}

int32_t FloorToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x < 0.0) return DoubleToInt(x);
  const double i = std::floor(x);
  const double f = x - i;
  return DoubleToInt(f > 0.999999999999 ? i + 1.0 : i);
}

}  // namespace quillet
