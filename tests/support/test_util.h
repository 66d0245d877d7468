// Shared helpers of the test binary: readable GBK literals and the like.

#ifndef QUILLET_TESTS_SUPPORT_TEST_UTIL_H_
#define QUILLET_TESTS_SUPPORT_TEST_UTIL_H_

#include <string>
#include <string_view>

#include "text/gbk_text.h"

namespace quillet::testing {

// The GBK bytes of a UTF-8 literal, so that tests can be written in the
// characters they are about. Aborts the test binary on a character that
// GBK cannot hold: that is a fault of the test, not of the code under test.
GbkText G(std::string_view utf8);

// The UTF-8 form of GBK bytes, for readable failure messages.
std::string U(const GbkText& gbk);

}  // namespace quillet::testing

#endif  // QUILLET_TESTS_SUPPORT_TEST_UTIL_H_
