// GbkText: the text value of Quillet, a byte string in code page 936 (GBK)
// that never holds the byte 0x00, and TextList, an ordered list of texts.
//
// Lengths count bytes (a Chinese character counts 2). Positions handed out
// by the operations of text_ops.h are 1-based byte positions, -1 for "not
// found". A GbkText is a plain value: copying costs one allocation, moving
// is free, and no operation changes its arguments.

#ifndef QUILLET_TEXT_GBK_TEXT_H_
#define QUILLET_TEXT_GBK_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class GbkText {
 public:
  GbkText() = default;
  // Takes the bytes as they are, except that every 0x00 byte is dropped:
  // the front ends refuse or replace such bytes before they get here, so
  // dropping (rather than cutting the text short) loses nothing else.
  GbkText(std::string bytes);                                  // NOLINT: implicit
  GbkText(std::string_view bytes) : GbkText(std::string(bytes)) {}  // NOLINT
  GbkText(const char* bytes) : GbkText(std::string_view(bytes)) {}  // NOLINT

  const std::string& bytes() const { return bytes_; }
  std::string_view view() const { return bytes_; }
  const char* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  // The byte at 0-based index i, as an unsigned value 1..255.
  unsigned char byte(std::size_t i) const {
    return static_cast<unsigned char>(bytes_[i]);
  }

  // Appends in place; used by builders that would otherwise copy the text
  // once per piece. Both keep the no-0x00 invariant.
  void Append(const GbkText& tail) { bytes_ += tail.bytes_; }
  void Append(std::string_view tail);

  // Hands the bytes over and leaves the text empty: a rewrite in place
  // takes them, works on them and hands them back through the constructor,
  // so that their buffer is reused rather than copied.
  std::string TakeBytes() {
    std::string out;
    out.swap(bytes_);
    return out;
  }

  friend bool operator==(const GbkText&, const GbkText&) = default;

 private:
  std::string bytes_;
};

// A TextList counts its elements from 1 where the rules name positions:
// element i is list[i - 1].
using TextList = std::vector<GbkText>;

}  // namespace quillet

#endif  // QUILLET_TEXT_GBK_TEXT_H_
