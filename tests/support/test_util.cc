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

std::string U(const GbkText& gbk) { return Convert(gbk.view(), "CP936", "UTF-8"); }

}  // namespace quillet::testing
