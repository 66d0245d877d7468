#include "support/test_util.h"

#include <iconv.h>

#include <cstdio>
#include <cstdlib>

namespace quillet::testing {

namespace {

// Converts with iconv, aborting on any byte that does not convert.
std::string Convert(std::string_view in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) {
    std::fprintf(stderr, "test text does not convert from %s to %s\n", from, to);
    std::abort();
  }
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

}  // namespace

GbkText G(std::string_view utf8) { return GbkText(Convert(utf8, "UTF-8", "CP936")); }

std::string U(const GbkText& gbk) {
  // Byte by byte: a two-byte character converts as a pair, any byte that
  // does not convert is shown as \xNN.
  std::string out;
  std::size_t i = 0;
  while (i < gbk.size()) {
    const std::size_t width = (gbk.byte(i) >= 0x80 && i + 1 < gbk.size()) ? 2 : 1;
    iconv_t cd = iconv_open("UTF-8", "CP936");
    char buf[16];
    char* src = const_cast<char*>(gbk.data() + i);
    std::size_t src_left = width;
    char* dst = buf;
    std::size_t dst_left = sizeof buf;
    const bool ok = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1) &&
                    src_left == 0;
    iconv_close(cd);
    if (ok) {
      out.append(buf, sizeof buf - dst_left);
      i += width;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", gbk.byte(i));
      out += hex;
      i += 1;
    }
  }
  return out;
}

}  // namespace quillet::testing
