#include "support/fuzz_util.h"

#include <cstdio>
#include <cstdlib>

namespace quillet::fuzzing {

std::vector<std::string_view> SplitInput(const std::uint8_t* data,
                                         std::size_t size, std::size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t zero = rest.find('\0');
    if (zero == std::string_view::npos) break;
    parts.push_back(rest.substr(0, zero));
    rest.remove_prefix(zero + 1);
  }
  parts.push_back(rest);
  parts.resize(count);
  return parts;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return "[" + out + "]";
}

void Require(bool ok, const char* what, const std::string& details) {
  if (ok) return;
  std::fprintf(stderr, "property failed: %s\n%s\n", what, details.c_str());
  std::abort();
}

}  // namespace quillet::fuzzing
