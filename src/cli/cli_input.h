// The inputs of quillet-cli: reading a file or standard input, and turning
// its bytes into a field text exactly as the window would hold it (line
// breaks CR LF, GBK bytes); and the way back for the plain output. Each
// step is linear in the text; an input is refused above kMaxInputBytes
// before more than that is read, so memory stays bounded.

#ifndef QUILLET_CLI_CLI_INPUT_H_
#define QUILLET_CLI_CLI_INPUT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "text/gbk_text.h"

namespace quillet::cli {

// The largest article or title file taken, and the largest line of a
// batch: 16 MiB, far beyond any article and small enough to hold in memory
// several times over.
inline constexpr std::size_t kMaxInputBytes = std::size_t{16} << 20;

// The message part for an input of size bytes over kMaxInputBytes, or of
// more than that when size is nullopt (a pipe, which is not read further):
// "too large (N bytes; the limit is 16 MiB)".
std::string TooLargeReason(std::optional<std::size_t> size);

// How an input is named in messages: "standard input" for "-", else the
// path itself.
std::string InputName(const std::string& path);

// Opens the file at path for reading ("-" gives standard input, which is
// not opened again). Returns the descriptor, or -1 with error set to
// "NAME: reason", the reason being the system's.
int OpenInput(const std::string& path, std::string* error);

// Reads every byte of the file at path ("-" for standard input) into
// bytes. On failure returns false and sets error to "NAME: reason": the
// system's reason for a file that cannot be opened or read, TooLargeReason
// for one over kMaxInputBytes (a regular file is refused by its size,
// before any of it is read).
bool ReadInput(const std::string& path, std::string* bytes, std::string* error);

// The bytes without one final line break (LF, CR LF or a lone CR).
std::string WithoutFinalLineBreak(std::string bytes);

// Turns input bytes in the given encoding into a field text: a byte-order
// mark at the start is dropped, the encoding found (with kAuto) or taken as
// given, and every line break made CR LF; what GBK cannot hold becomes "?"
// (their number is added to *replaced). Fails, with error "NAME: problem"
// naming the byte offset, on a NUL byte and on bytes that are not text in
// the encoding (see codec/encoding_detect.h). When kAuto guessed GB18030
// and note is not null, *note says so: "NAME: not UTF-8 (byte offset N),
// read as GB18030".
bool ToFieldText(std::string_view bytes, Encoding encoding,
                 const std::string& name, GbkText* text, std::size_t* replaced,
                 std::string* error, std::string* note = nullptr);

// A field text as the plain output shows it: line breaks LF, GBK bytes for
// kGbk and UTF-8 for every other encoding (a GBK sequence that is not a
// character becomes U+FFFD).
std::string FromFieldText(const GbkText& text, Encoding encoding);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_CLI_INPUT_H_
