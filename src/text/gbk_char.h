// The byte-level rules that every scan of a GbkText shares: where a
// character ends, where one may begin, and ASCII letter-case folding.
//
// A byte 0x80..0xFF and the byte after it are one character (every such
// byte, not only the GBK lead bytes 0x81..0xFE); every other byte is a
// character of its own. Inline, as they run once per byte in the hot loops
// of matching and term counting; each costs a comparison or two, except
// IsCharBoundary, which looks back over a run of bytes 0x80..0xFF.

#ifndef QUILLET_TEXT_GBK_CHAR_H_
#define QUILLET_TEXT_GBK_CHAR_H_

#include <cstddef>
#include <string_view>

namespace quillet {

// Whether b starts a two-byte character when a byte follows it.
constexpr bool IsHighByte(unsigned char b) { return b >= 0x80; }

// Bytes of the character that starts at byte offset i of text, i < its
// size: 2 for a byte 0x80..0xFF that has a byte after it, else 1. A final
// byte 0x80..0xFF with nothing after it is a one-byte character.
constexpr std::size_t CharWidthAt(std::string_view text, std::size_t i) {
  return IsHighByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()
             ? 2
             : 1;
}

// Whether byte offset p of text (p <= its size) is a character boundary,
// given that the offset `boundary` <= p is one. Every byte below 0x80 is
// followed by a boundary (it is a one-byte character or the second byte of
// a two-byte one), so p is a boundary exactly when the run of bytes
// 0x80..0xFF just before it, back to `boundary` or to the nearest byte
// below 0x80, has even length.
constexpr bool IsCharBoundary(std::string_view text, std::size_t boundary,
                              std::size_t p) {
  std::size_t run = 0;
  while (p - run > boundary &&
         IsHighByte(static_cast<unsigned char>(text[p - run - 1]))) {
    ++run;
  }
  return run % 2 == 0;
}

// b with an ASCII upper-case letter A..Z made lower case; every other byte
// as it is. Folding applies at every byte, the second byte of a two-byte
// character included, as FindText compares.
constexpr unsigned char FoldAsciiCase(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

}  // namespace quillet

#endif  // QUILLET_TEXT_GBK_CHAR_H_
