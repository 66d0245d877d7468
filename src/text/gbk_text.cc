#include "text/gbk_text.h"

#include <algorithm>

namespace quillet {

namespace {

// Whether s holds a 0x00 byte. Texts of a few bytes (characters, number
// cells, a sentence's head) are made by the ten thousand, where a library
// call per text would cost more than the look itself.
bool HasNul(std::string_view s) {
  if (s.size() <= 8) {
    for (const char c : s) {
      if (c == '\0') return true;
    }
    return false;
  }
  return s.find('\0') != std::string_view::npos;
}

}  // namespace

GbkText::GbkText(std::string bytes) : bytes_(std::move(bytes)) {
  if (HasNul(bytes_)) {
    bytes_.erase(std::remove(bytes_.begin(), bytes_.end(), '\0'), bytes_.end());
  }
}

void GbkText::Append(std::string_view tail) {
  const std::size_t start = bytes_.size();
  bytes_ += tail;
  if (tail.find('\0') != std::string_view::npos) {
    bytes_.erase(std::remove(bytes_.begin() + start, bytes_.end(), '\0'),
                 bytes_.end());
  }
}

}  // namespace quillet
