// CharacterList: the characters of a text, in order, as the Chinese term
// search walks them (the workspace's CharList).
//
// Each character is kept as a small number, its code, rather than as a
// text of its own: a one-byte character b is b, and a two-byte character
// (first, second) is 256 + (first - 0x80) * 256 + second, so every
// character has its own code and the blank is 0x20. Two bytes per
// character, where a list of GbkText took some 32 bytes each: the list of a
// 1 MB article is 1 MB rather than 16, which is memory a fresh process need
// not fault in. Reading one character as a text makes that text.

#ifndef QUILLET_TEXT_CHARACTER_LIST_H_
#define QUILLET_TEXT_CHARACTER_LIST_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk_text.h"

namespace quillet {

class CharacterList {
 public:
  using Code = std::uint16_t;

  CharacterList() = default;
  // Takes the codes as they are; each must be a code as above.
  explicit CharacterList(std::vector<Code> codes) : codes_(std::move(codes)) {}

  // The characters of text, as gbk_char.h cuts them: a byte 0x80..0xFF and
  // the byte after it are one, a final byte 0x80..0xFF with nothing after
  // it is one, every other byte is one. Reuses the list's buffer.
  void AssignCharactersOf(std::string_view text);

  std::size_t size() const { return codes_.size(); }
  bool empty() const { return codes_.empty(); }
  void clear() { codes_.clear(); }

  // The character at 0-based index i < size(), as a text of one or two
  // bytes.
  GbkText operator[](std::size_t i) const;

  // Appends one character: a text of one byte, or of two whose first is
  // 0x80 or above (anything else is a programming error).
  void push_back(const GbkText& character);

  // Every character as a text; for tests and messages.
  TextList Texts() const;

  const std::vector<Code>& codes() const { return codes_; }

  // The code of one character (as push_back takes it), and the bytes of
  // the characters with the given codes appended to out.
  static Code CodeOf(std::string_view character);
  static void AppendBytes(std::span<const Code> codes, std::string& out);

  friend bool operator==(const CharacterList&, const CharacterList&) = default;

 private:
  std::vector<Code> codes_;
};

}  // namespace quillet

#endif  // QUILLET_TEXT_CHARACTER_LIST_H_
