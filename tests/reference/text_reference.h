// Reference versions of the matching operations of text_ops.h, written as
// plainly as the rules read: one cursor walks the text character by
// character (a byte 0x80..0xFF and the byte after it form one character),
// and at each character boundary the sought bytes are compared one by one.
// They are slow (length of t times length of sought) and exist only so that
// tests and fuzz targets can hold the fast operations against them.

#ifndef QUILLET_TESTS_REFERENCE_TEXT_REFERENCE_H_
#define QUILLET_TESTS_REFERENCE_TEXT_REFERENCE_H_

#include "text/gbk_text.h"

namespace quillet::reference {

// 1-based position of the first match of sought at a character boundary of
// t, ASCII letter case folded at every byte; -1 if none. An empty sought
// text gives 1 for a non-empty t and -1 for an empty one.
int FindText(const GbkText& t, const GbkText& sought);

// 1-based position of the last match at a character boundary, exact bytes,
// overlapping matches seen; empty sought as for FindText.
int FindTextLast(const GbkText& t, const GbkText& sought);

// t with every match replaced, exact bytes, left to right, no overlaps;
// t itself when t or sought is empty.
GbkText ReplaceAll(const GbkText& t, const GbkText& sought,
                   const GbkText& replacement);

// The pieces of t between matches of separator; no trailing empty piece,
// no pieces for an empty t, the one piece t for an empty separator.
TextList SplitText(const GbkText& t, const GbkText& separator);

// x rounded the way a number cell stores it: its 17 correctly rounded
// significant digits, rounded half away from zero to 13. For finite x.
double RoundTo13Digits(double x);

// The cell text of a double, built from the same 17 digits: 13 kept, half
// away from zero, trailing zeros dropped, exponent form ("1e-007",
// "1.5e+013") below 1e-4 and from 1e13 on. For finite x.
GbkText NumberToText(double x);

}  // namespace quillet::reference

#endif  // QUILLET_TESTS_REFERENCE_TEXT_REFERENCE_H_
