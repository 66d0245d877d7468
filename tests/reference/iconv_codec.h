// The conversions between UTF-8 and GBK done by glibc's iconv ("CP936")
// over whole stretches of text, as the codec once did them: the reference
// that the table-driven codec of src/codec is held to. Same contracts as
// Utf8ToGbk and GbkToUtf8 of codec/gbk_codec.h.

#ifndef QUILLET_TESTS_REFERENCE_ICONV_CODEC_H_
#define QUILLET_TESTS_REFERENCE_ICONV_CODEC_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet::reference {

GbkText Utf8ToGbk(std::string_view utf8, std::size_t* replaced = nullptr);
std::string GbkToUtf8(std::string_view gbk);

}  // namespace quillet::reference

#endif  // QUILLET_TESTS_REFERENCE_ICONV_CODEC_H_
