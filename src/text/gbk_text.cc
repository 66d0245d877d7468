#include "text/gbk_text.h"

#include <algorithm>

namespace quillet {

GbkText::GbkText(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.find('\0') != std::string::npos) {
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
