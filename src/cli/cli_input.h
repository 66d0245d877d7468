// The inputs of quillet-cli: reading a file or standard input, and turning
// its bytes into a field text exactly as the window would hold it (line
// breaks CR LF, GBK bytes); and the way back for the plain output. Each
// step is linear in the text.

#ifndef QUILLET_CLI_CLI_INPUT_H_
#define QUILLET_CLI_CLI_INPUT_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "text/gbk_text.h"

namespace quillet::cli {

// How an input is named in messages: "standard input" for "-", else the
// path itself.
std::string InputName(const std::string& path);

// Reads every byte of the file at path ("-" for standard input) into
// bytes. On failure returns false and sets error to "NAME: reason", the
// reason being the system's.
bool ReadInput(const std::string& path, std::string* bytes, std::string* error);

// The bytes without one final line break (LF, CR LF or a lone CR).
std::string WithoutFinalLineBreak(std::string bytes);

// Turns input bytes in the given encoding into a field text: every line
// break becomes CR LF; UTF-8 is converted to GBK, each character that GBK
// cannot hold becoming "?" (their number is added to *replaced). GBK input
// is taken byte for byte. Fails, with error "NAME: problem", on a NUL byte
// and, for UTF-8, on an ill-formed sequence; both give the byte offset.
bool ToFieldText(std::string_view bytes, Encoding encoding,
                 const std::string& name, GbkText* text, std::size_t* replaced,
                 std::string* error);

// A field text as the plain output shows it: line breaks LF, in the given
// encoding (a GBK sequence that is not a character becomes U+FFFD in
// UTF-8).
std::string FromFieldText(const GbkText& text, Encoding encoding);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_CLI_INPUT_H_
