// Fuzzes the conversions between Unicode and GBK of the front ends.
//
// GBK side: GBK bytes converted to UTF-8 and back keep every well-formed
// GBK character and come back with one "?" for each byte that begins none
// (such a byte turns into U+FFFD, which GBK does not hold). The input is
// taken once as it is and once mapped onto well-formed characters only,
// where the round trip must be the identity. Which byte pairs are GBK
// characters is asked of iconv pair by pair, once, at start-up.
//
// UTF-8 side: arbitrary bytes never crash FindInvalidUtf8 or Utf8ToGbk,
// the GBK text holds no zero byte, the replacement count is plausible, and
// well-formed ASCII passes unchanged. The line-break helpers agree with
// each other.
//
// Files of unknown encoding: DecodeText takes arbitrary bytes in every
// encoding without crashing, gives text without a zero byte or a refusal,
// reads well-formed UTF-8 without NUL as Utf8ToGbk does, and reads the
// same bytes behind a UTF-8 byte-order mark the same way.

#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "codec/encoding_detect.h"
#include "codec/gbk_codec.h"
#include "support/fuzz_util.h"

namespace quillet {
namespace {

using fuzzing::Hex;
using fuzzing::Require;

// The well-formed GBK characters of code page 936: the one-byte ones
// (0x01..0x7F and 0x80, the euro sign) and the two-byte ones that iconv
// converts to exactly one Unicode character.
class GbkCharacters {
 public:
  GbkCharacters() {
    for (int b = 0x01; b <= 0x80; ++b) all_.push_back(std::string(1, static_cast<char>(b)));
    iconv_t cd = iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
        if (ConvertsToOneCharacter(cd, pair)) {
          pair_ok_[lead][trail] = true;
          all_.push_back(pair);
        }
      }
    }
    iconv_close(cd);
  }

  bool IsPair(unsigned char lead, unsigned char trail) const {
    return pair_ok_[lead][trail];
  }
  const std::vector<std::string>& all() const { return all_; }

 private:
  static bool ConvertsToOneCharacter(iconv_t cd, const std::string& pair) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* src = const_cast<char*>(pair.data());
    std::size_t src_left = pair.size();
    char* dst = out;
    std::size_t dst_left = sizeof out;
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) {
      return false;
    }
    // One UTF-8 sequence: its first byte is the only one not of the form
    // 10xxxxxx.
    const std::size_t produced = sizeof out - dst_left;
    int starts = 0;
    for (std::size_t i = 0; i < produced; ++i) {
      if ((static_cast<unsigned char>(out[i]) & 0xC0) != 0x80) ++starts;
    }
    return src_left == 0 && starts == 1;
  }

  bool pair_ok_[256][256] = {};
  std::vector<std::string> all_;
};

const GbkCharacters& Characters() {
  static const GbkCharacters* characters = new GbkCharacters;
  return *characters;
}

// What the round trip must give: well-formed characters kept, every other
// byte a "?", the scan going on at the next byte.
std::string ExpectedRoundTrip(std::string_view gbk) {
  const GbkCharacters& characters = Characters();
  std::string out;
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b <= 0x80) {
      out += gbk[i];
      i += 1;
    } else if (i + 1 < gbk.size() &&
               characters.IsPair(b, static_cast<unsigned char>(gbk[i + 1]))) {
      out += gbk.substr(i, 2);
      i += 2;
    } else {
      out += '?';
      i += 1;
    }
  }
  return out;
}

void CheckGbkRoundTrip(const GbkText& gbk) {
  const std::string utf8 = GbkToUtf8(gbk.view());
  Require(!FindInvalidUtf8(utf8).has_value(), "GbkToUtf8 gives well-formed UTF-8",
          Hex(gbk.view()));
  std::size_t replaced = 0;
  const GbkText back = Utf8ToGbk(utf8, &replaced);
  const std::string expected = ExpectedRoundTrip(gbk.view());
  Require(back.bytes() == expected, "GBK to UTF-8 and back",
          Hex(gbk.view()) + " gave " + Hex(back.view()) + " expected " +
              Hex(expected));
}

// The input read as 16-bit indexes into the well-formed characters.
GbkText WellFormedText(std::string_view bytes) {
  const std::vector<std::string>& all = Characters().all();
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned index = static_cast<unsigned char>(bytes[i]) << 8 |
                           static_cast<unsigned char>(bytes[i + 1]);
    out += all[index % all.size()];
  }
  return GbkText(out);
}

void CheckUtf8Side(std::string_view bytes) {
  const std::optional<std::size_t> invalid = FindInvalidUtf8(bytes);
  Require(!invalid || *invalid < bytes.size(), "FindInvalidUtf8 points inside",
          Hex(bytes));
  std::size_t replaced = 0;
  const GbkText gbk = Utf8ToGbk(bytes, &replaced);
  Require(gbk.bytes().find('\0') == std::string::npos, "no zero byte in GBK",
          Hex(bytes));
  Require(replaced <= bytes.size(), "at most one replacement per byte", Hex(bytes));
  bool plain_ascii = true;
  for (const char c : bytes) plain_ascii &= c > 0;  // 0x01..0x7F
  if (plain_ascii) {
    Require(gbk.view() == bytes && replaced == 0, "ASCII passes unchanged",
            Hex(bytes));
  }
}

void CheckLineBreaks(std::string_view bytes) {
  const std::string crlf = ToCrLf(bytes);
  const std::string lf = ToLf(bytes);
  Require(lf.find('\r') == std::string::npos, "ToLf leaves no CR", Hex(bytes));
  Require(ToLf(crlf) == lf && ToCrLf(lf) == crlf,
          "ToLf and ToCrLf undo each other", Hex(bytes));
}

void CheckDecodeText(std::string_view bytes) {
  for (const TextEncoding encoding :
       {TextEncoding::kAuto, TextEncoding::kUtf8, TextEncoding::kGbk,
        TextEncoding::kGb18030, TextEncoding::kUtf16}) {
    DecodedText decoded;
    std::string error;
    if (DecodeText(bytes, encoding, &decoded, &error)) {
      Require(decoded.text.bytes().find('\0') == std::string::npos,
              "no zero byte in decoded text", Hex(bytes));
    } else {
      Require(!error.empty(), "a refusal says why", Hex(bytes));
    }
  }
  const bool utf8 = !FindInvalidUtf8(bytes) && bytes.find('\0') == std::string_view::npos &&
                    !bytes.starts_with("\xEF\xBB\xBF");
  if (!utf8) return;
  DecodedText plain;
  DecodedText marked;
  std::string error;
  std::size_t replaced = 0;
  Require(DecodeText(bytes, TextEncoding::kAuto, &plain, &error) &&
              plain.encoding == ReadEncoding::kUtf8 &&
              plain.text == Utf8ToGbk(bytes, &replaced) && plain.replaced == replaced,
          "UTF-8 is read as Utf8ToGbk reads it", Hex(bytes));
  Require(DecodeText("\xEF\xBB\xBF" + std::string(bytes), TextEncoding::kAuto, &marked,
                     &error) &&
              marked.text == plain.text,
          "a UTF-8 byte-order mark is dropped", Hex(bytes));
}

}  // namespace
}  // namespace quillet

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quillet::Characters();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillet;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckGbkRoundTrip(GbkText(bytes));
  CheckGbkRoundTrip(WellFormedText(bytes));
  CheckUtf8Side(bytes);
  CheckLineBreaks(bytes);
  CheckDecodeText(bytes);
  return 0;
}
