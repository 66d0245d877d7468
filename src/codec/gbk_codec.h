// The one seam between Unicode and GBK (code page 936), shared by the
// window, the command line, the built-in samples and the benchmarks.
// Conversions are a table lookup per character, the tables asked of glibc's
// iconv ("CP936", which holds the euro sign at 0x80) at build time, so they
// give what iconv gives; they are linear in the text, allocate once, and
// keep no state between calls.
//
// Line breaks: the pipeline's edit fields hold CR LF; the front ends hand
// over LF, CR LF or a lone CR and get LF back. Utf8ToField and FieldToUtf8
// are the whole way in and out; the steps they are made of stay public for
// the command line's GBK mode, which changes only the line breaks.

#ifndef QUILLET_CODEC_GBK_CODEC_H_
#define QUILLET_CODEC_GBK_CODEC_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet {

// Offset of the first byte of utf8 that does not begin a well-formed UTF-8
// sequence (overlong forms, surrogates and code points above U+10FFFF
// included), or nullopt when all of it is well-formed.
std::optional<std::size_t> FindInvalidUtf8(std::string_view utf8);

// GBK bytes of well-formed UTF-8 text. Each character that GBK cannot hold
// (U+0000 included, since a GbkText never holds 0x00) becomes "?"; when
// replaced is not null it receives how many did. An ill-formed sequence
// counts as one such character per byte. The tag characters U+E0000..
// U+E007F vanish without a "?", as iconv drops them.
GbkText Utf8ToGbk(std::string_view utf8, std::size_t* replaced = nullptr);

// Utf8ToGbk of text that is all well-formed UTF-8 without U+0000, in one
// pass where FindInvalidUtf8 and Utf8ToGbk take two; nullopt (replaced
// untouched) when utf8 holds an ill-formed sequence or a NUL byte.
std::optional<GbkText> WellFormedUtf8ToGbk(std::string_view utf8,
                                           std::size_t* replaced = nullptr);

// UTF-8 text of GBK bytes. A byte sequence that is not a GBK character
// becomes U+FFFD, one per byte, and the scan goes on at the next byte, so
// every well-formed stretch converts (and converts back) unchanged.
std::string GbkToUtf8(std::string_view gbk);

// The same UTF-8 text appended to out (which must not hold gbk), so that a
// writer of many texts converts into one buffer.
void AppendGbkToUtf8(std::string_view gbk, std::string& out);

// Every line break (LF, CR LF or a lone CR) as CR LF; nothing else changes.
std::string ToCrLf(std::string_view text);

// Every CR LF, and every lone CR, as LF.
std::string ToLf(std::string_view text);

// The field form of UTF-8 text, as a window field holds it: every line
// break (LF, CR LF or a lone CR) becomes CR LF, then the text is converted
// as by Utf8ToGbk, each character that GBK cannot hold becoming "?" (their
// number in *replaced when that is not null).
GbkText Utf8ToField(std::string_view utf8, std::size_t* replaced = nullptr);

// The UTF-8 form of a field: every CR LF and lone CR becomes LF, then the
// bytes are converted as by GbkToUtf8 (U+FFFD for each byte that is not
// part of a GBK character). CR and LF never stand inside a GBK character or
// a UTF-8 sequence, so the result is the same as converting first and
// changing the line breaks after.
std::string FieldToUtf8(const GbkText& field);

}  // namespace quillet

#endif  // QUILLET_CODEC_GBK_CODEC_H_
