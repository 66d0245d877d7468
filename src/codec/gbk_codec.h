// The one seam between Unicode and GBK (code page 936), shared by the
// window, the command line, the built-in samples and the benchmarks.
// Conversions go through glibc's iconv ("CP936", which holds the euro sign
// at 0x80) and are linear in the text.
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
// counts as one such character per byte.
GbkText Utf8ToGbk(std::string_view utf8, std::size_t* replaced = nullptr);

// UTF-8 text of GBK bytes. A byte sequence that is not a GBK character
// becomes U+FFFD, one per byte, and the scan goes on at the next byte, so
// every well-formed stretch converts (and converts back) unchanged.
std::string GbkToUtf8(std::string_view gbk);

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
