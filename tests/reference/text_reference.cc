#include "reference/text_reference.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace quillet::reference {

namespace {

bool IsUpper(unsigned char b) { return b >= 'A' && b <= 'Z'; }

bool SameByte(unsigned char a, unsigned char b, bool fold) {
  if (a == b) return true;
  if (!fold) return false;
  return (IsUpper(a) && b == a + 0x20) || (IsUpper(b) && a == b + 0x20);
}

// True when the bytes of sought stand in t from 0-based index at onward.
bool MatchesAt(const GbkText& t, std::size_t at, const GbkText& sought,
               bool fold) {
  if (t.size() - at < sought.size()) return false;
  for (std::size_t j = 0; j < sought.size(); ++j) {
    if (!SameByte(t.byte(at + j), sought.byte(j), fold)) return false;
  }
  return true;
}

// Bytes of the character that starts at 0-based index at: two for a byte
// with the high bit set that has a byte after it, else one.
std::size_t CharWidth(const GbkText& t, std::size_t at) {
  return (t.byte(at) >= 0x80 && at + 1 < t.size()) ? 2 : 1;
}

// 0-based index of every character boundary of t where sought matches,
// seen the way FindTextLast walks: the cursor always moves on by one
// character, so overlapping matches are all listed.
std::vector<std::size_t> MatchStarts(const GbkText& t, const GbkText& sought,
                                     bool fold) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < t.size(); at += CharWidth(t, at)) {
    if (MatchesAt(t, at, sought, fold)) starts.push_back(at);
  }
  return starts;
}

// The 17 correctly rounded significant digits of |x| (x not zero) and the
// decimal exponent of the first one.
void SeventeenDigits(double x, std::string* digits, int* exponent) {
  // "d.dddddddddddddddde+EEE"
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.16e", std::fabs(x));
  const std::string text = buf;
  *digits = text.substr(0, 1) + text.substr(2, 16);
  *exponent = std::atoi(text.c_str() + text.find('e') + 1);
}

std::string WithoutTrailingZeros(std::string digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return digits;
}

}  // namespace

int FindText(const GbkText& t, const GbkText& sought) {
  if (sought.empty()) return t.empty() ? -1 : 1;
  const std::vector<std::size_t> starts = MatchStarts(t, sought, true);
  return starts.empty() ? -1 : static_cast<int>(starts.front()) + 1;
}

int FindTextLast(const GbkText& t, const GbkText& sought) {
  if (sought.empty()) return t.empty() ? -1 : 1;
  const std::vector<std::size_t> starts = MatchStarts(t, sought, false);
  return starts.empty() ? -1 : static_cast<int>(starts.back()) + 1;
}

GbkText ReplaceAll(const GbkText& t, const GbkText& sought,
                   const GbkText& replacement) {
  if (t.empty() || sought.empty()) return t;
  std::string out;
  std::size_t at = 0;
  while (at < t.size()) {
    if (MatchesAt(t, at, sought, false)) {
      out += replacement.bytes();
      at += sought.size();
    } else {
      const std::size_t width = CharWidth(t, at);
      out += t.bytes().substr(at, width);
      at += width;
    }
  }
  return GbkText(out);
}

TextList SplitText(const GbkText& t, const GbkText& separator) {
  if (t.empty()) return {};
  if (separator.empty()) return {t};
  TextList pieces;
  std::size_t piece_start = 0;
  std::size_t at = 0;
  while (at < t.size()) {
    if (MatchesAt(t, at, separator, false)) {
      pieces.push_back(GbkText(t.bytes().substr(piece_start, at - piece_start)));
      at += separator.size();
      piece_start = at;
    } else {
      at += CharWidth(t, at);
    }
  }
  if (piece_start < t.size()) {
    pieces.push_back(GbkText(t.bytes().substr(piece_start)));
  }
  return pieces;
}

double RoundTo13Digits(double x) {
  if (x == 0) return 0;
  std::string mantissa;
  int exponent;
  SeventeenDigits(x, &mantissa, &exponent);
  std::uint64_t kept = std::stoull(mantissa.substr(0, 13));
  if (mantissa[13] >= '5') ++kept;
  // kept * 10^(exponent - 12), written without a decimal point so that the
  // parse does not depend on the C locale.
  const std::string rounded =
      std::to_string(kept) + "e" + std::to_string(exponent - 12);
  const double magnitude = std::strtod(rounded.c_str(), nullptr);
  return x < 0 ? -magnitude : magnitude;
}

GbkText NumberToText(double x) {
  if (x == 0) return "0";
  if (x < 0) return GbkText("-" + NumberToText(-x).bytes());
  std::string digits;
  int exponent;
  SeventeenDigits(x, &digits, &exponent);
  // Keep 13 digits and round up in decimal, carrying to the left.
  const bool round_up = digits[13] >= '5';
  digits.resize(13);
  if (round_up) {
    int i = 12;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits = "1" + digits.substr(0, 12);
      ++exponent;
    }
  }
  std::string text;
  if (exponent < -4 || exponent >= 13) {
    const std::string rest = WithoutTrailingZeros(digits.substr(1));
    text = digits.substr(0, 1) + (rest.empty() ? "" : "." + rest) + "e" +
           (exponent < 0 ? "-" : "+");
    const std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
    text += std::string(magnitude.size() < 3 ? 3 - magnitude.size() : 0, '0') +
            magnitude;
  } else if (exponent >= 0) {
    const std::string fraction = WithoutTrailingZeros(digits.substr(exponent + 1));
    text = digits.substr(0, exponent + 1) + (fraction.empty() ? "" : "." + fraction);
  } else {
    text = "0." + std::string(-exponent - 1, '0') + WithoutTrailingZeros(digits);
  }
  return GbkText(text);
}

}  // namespace quillet::reference
