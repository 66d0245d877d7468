#include "text/character_list.h"

#include <cassert>

#include "text/gbk_char.h"

namespace quillet {

void CharacterList::AssignCharactersOf(std::string_view text) {
  codes_.clear();
  codes_.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); i += CharWidthAt(text, i)) {
    codes_.push_back(CodeOf(text.substr(i, CharWidthAt(text, i))));
  }
}

GbkText CharacterList::operator[](std::size_t i) const {
  std::string bytes;
  AppendBytes(std::span<const Code>(&codes_[i], 1), bytes);
  return GbkText(std::move(bytes));
}

void CharacterList::push_back(const GbkText& character) {
  codes_.push_back(CodeOf(character.view()));
}

TextList CharacterList::Texts() const {
  TextList texts;
  texts.reserve(codes_.size());
  for (std::size_t i = 0; i < codes_.size(); ++i) texts.push_back((*this)[i]);
  return texts;
}

CharacterList::Code CharacterList::CodeOf(std::string_view character) {
  assert(character.size() == 1 ||
         (character.size() == 2 && IsHighByte(static_cast<unsigned char>(character[0]))));
  const auto first = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return first;
  return static_cast<Code>(256 + ((first - 0x80) << 8) +
                           static_cast<unsigned char>(character[1]));
}

void CharacterList::AppendBytes(std::span<const Code> codes, std::string& out) {
  for (const Code code : codes) {
    if (code < 256) {
      out += static_cast<char>(code);
    } else {
      out += static_cast<char>(0x80 + ((code - 256) >> 8));
      out += static_cast<char>((code - 256) & 0xFF);
    }
  }
}

}  // namespace quillet
