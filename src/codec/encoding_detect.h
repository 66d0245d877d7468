// Reading the bytes of a text file, whose encoding may be unknown, into
// GBK. A byte-order mark at the start is dropped, never converted. The
// encoding is either named by the caller or found from the bytes, in this
// order:
//
//   1. a byte-order mark: UTF-16 LE (FF FE), UTF-16 BE (FE FF), UTF-8
//      (EF BB BF) or GB18030 (84 31 95 33) says what follows;
//   2. bytes that are well-formed UTF-8 are UTF-8;
//   3. bytes that are valid GB18030 and hold no control character other
//      than tab, line feed and carriage return are GB18030 (a guess, which
//      the caller should tell the user of);
//   4. anything else is refused, naming the first offending byte and the
//      likely cause: UTF-16 without a byte-order mark (Chinese UTF-16 is
//      often valid GB18030 byte for byte, but its punctuation, "。" being
//      02 30 in UTF-16 LE, holds control bytes), a binary file, or an
//      encoding that is neither.
//
// Every text but GBK goes through UTF-8 into GBK, so each character that
// GBK cannot hold becomes "?" and is counted, as Utf8ToGbk does; GBK is
// taken byte for byte. A NUL byte (or, in UTF-16, the character U+0000) is
// refused in every encoding: a GbkText cannot hold it. Line breaks are left
// as they are. Linear in the input; the GB18030 decoder is glibc's iconv,
// one descriptor per thread, so texts may be read on several threads.

#ifndef QUILLET_CODEC_ENCODING_DETECT_H_
#define QUILLET_CODEC_ENCODING_DETECT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet {

// The encoding a caller asks for: kAuto finds it from the bytes; the others
// force one. kUtf16 takes its byte order from the byte-order mark; without
// one it is little-endian, as Windows saves it.
enum class TextEncoding { kAuto, kUtf8, kGbk, kGb18030, kUtf16 };

// The encoding an input was read in.
enum class ReadEncoding { kUtf8, kGbk, kGb18030, kUtf16Le, kUtf16Be };

// "UTF-8", "GBK", "GB18030", "UTF-16LE" or "UTF-16BE".
const char* EncodingName(ReadEncoding encoding);

struct DecodedText {
  GbkText text;  // GBK bytes, without the byte-order mark
  ReadEncoding encoding = ReadEncoding::kUtf8;
  std::size_t replaced = 0;  // characters GBK cannot hold, each made "?"
  // Set when kAuto took the input for GB18030 without a byte-order mark:
  // the offset of its first byte that is not UTF-8.
  std::optional<std::size_t> guessed_after;
};

// Decodes bytes in the given encoding into *decoded. On a refusal returns
// false and sets *error to the problem, for instance "invalid UTF-8 at byte
// offset 3" or "not UTF-8 or GB18030 text: byte 0x02 at offset 40 (likely
// UTF-16 without a byte-order mark; ...)". Offsets count from the first
// byte of bytes, a byte-order mark included.
bool DecodeText(std::string_view bytes, TextEncoding encoding,
                DecodedText* decoded, std::string* error);

}  // namespace quillet

#endif  // QUILLET_CODEC_ENCODING_DETECT_H_
