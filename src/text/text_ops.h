// The byte-string operations in which every rule of Quillet is written.
//
// Matching (FindText, FindTextLast, ReplaceAll, SplitText) walks the text
// character by character: a byte 0x80..0xFF together with the byte after it
// is one character, every other byte is a character of its own, so a match
// may begin only on a character boundary (it may end inside a character).
// Only FindText folds ASCII letter case, at every byte of the compared
// stretch. Cutting (TextLeft, TextRight) is byte-wise. All operations are
// linear in the length of their arguments times the sought text's length,
// and none reports an error: empty arguments and counts out of range have
// the results stated below.

#ifndef QUILLET_TEXT_TEXT_OPS_H_
#define QUILLET_TEXT_TEXT_OPS_H_

#include <cstdint>
#include <string>

#include "text/gbk_text.h"

namespace quillet {

// Number of bytes of t.
int TextLength(const GbkText& t);

// The first n bytes of t; "" for n <= 0, all of t for n >= its length.
// The cut may fall inside a two-byte character.
GbkText TextLeft(const GbkText& t, int n);

// The last n bytes of t; "" for n <= 0, all of t for n >= its length.
GbkText TextRight(const GbkText& t, int n);

// 1-based position of the first occurrence of sought in t, ASCII letter
// case folded; -1 if none. An empty sought text is found at 1 in any
// non-empty t, and not at all in an empty t.
int FindText(const GbkText& t, const GbkText& sought);

// 1-based position of the last occurrence of sought in t, exact bytes;
// overlapping occurrences count ("aaa", "aa" gives 2). Empty sought as for
// FindText.
int FindTextLast(const GbkText& t, const GbkText& sought);

// t with every occurrence of sought replaced, exact bytes, left to right,
// matches never overlapping and the replacement never scanned again.
// t unchanged when t or sought is empty.
GbkText ReplaceAll(const GbkText& t, const GbkText& sought,
                   const GbkText& replacement);

// The pieces of t between separators, exact bytes. A leading separator and
// two adjacent ones give empty pieces; a separator at the very end gives no
// trailing empty piece. An empty t gives no pieces, an empty separator the
// one piece t.
TextList SplitText(const GbkText& t, const GbkText& separator);

// The texts joined in order.
GbkText ConcatText(const GbkText& a, const GbkText& b);
GbkText ConcatText(const GbkText& a, const GbkText& b, const GbkText& c);
GbkText ConcatText(const GbkText& a, const GbkText& b, const GbkText& c,
                   const GbkText& d);

// True when a and b are the same bytes; no folding.
bool TextEquals(const GbkText& a, const GbkText& b);

// The bytes of t in order.
std::string TextToBytes(const GbkText& t);

// The one-byte text b; "" for b = 0.
GbkText CharFromCode(unsigned char b);

// Parses a double. Full-width ASCII forms (A3 A1..A3 FE) become their
// one-byte forms first, A1 A1 a blank, A1 AB "~", A1 EE and A1 EF "*";
// leading white space (09..0D, 20) is skipped; then the longest prefix of
// the form [+-]digits[.digits][(e|E|d|D)[+-]digits] is read. 0 when there is
// no such prefix. Never depends on the C locale. A value beyond the double
// range gives plus or minus infinity, one too small for it gives zero.
double TextToNumber(const GbkText& t);

// Parses an integer with the same mapping and white-space skip: an optional
// sign, then decimal digits up to the first non-digit; 0 without digits.
// «2.9» gives 2, «5e-005» gives 5. Saturates at the 32-bit limits.
int32_t TextToInt(const GbkText& t);

// x truncated toward zero, saturated at the 32-bit limits (NaN gives 0).
int32_t DoubleToInt(double x);

// Decimal digits of an integer, "-" in front when negative.
GbkText NumberToText(int32_t n);

// A double with 13 significant digits: 17 correctly rounded digits are
// rounded half-up to 13, trailing zeros dropped; exponent form
// (d.ddde+NNN, at least three exponent digits) when the exponent is below
// -4 or 13 or more. 1/3 gives «0.3333333333333», 0.00005 «5e-005».
// The pipeline never stores a NaN or an infinity; should one arrive it is
// written «nan», «inf» or «-inf», which TextToNumber reads back as 0.
GbkText NumberToText(double x);

// For x >= 0: the integer part of x, plus one when the fraction exceeds
// 0.999999999999 (a value within 1e-12 below a whole number snaps to it).
// Saturates at the 32-bit limits; NaN gives 0 and a negative x (never
// passed by the pipeline) is truncated toward zero.
int32_t FloorToInt(double x);

}  // namespace quillet

#endif  // QUILLET_TEXT_TEXT_OPS_H_
