// Helpers shared by the fuzz targets: cutting a fuzz input into texts and
// stopping the run with a readable message when a property fails.

#ifndef QUILLET_FUZZ_SUPPORT_FUZZ_UTIL_H_
#define QUILLET_FUZZ_SUPPORT_FUZZ_UTIL_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::fuzzing {

// The input cut at its first count - 1 zero bytes into count parts; parts
// past the end are empty, and the last part keeps any later zero bytes.
// A zero byte is the natural separator: no text of the system holds one.
std::vector<std::string_view> SplitInput(const std::uint8_t* data,
                                         std::size_t size, std::size_t count);

// Bytes as space-separated hex, for messages.
std::string Hex(std::string_view bytes);

// When ok is false: prints what failed and the details to stderr and
// aborts, which libFuzzer reports as a crash and saves the input.
void Require(bool ok, const char* what, const std::string& details = "");

}  // namespace quillet::fuzzing

#endif  // QUILLET_FUZZ_SUPPORT_FUZZ_UTIL_H_
