// MD5 from the mingw build of libgcrypt, run under Wine.
#include <gtest/gtest.h>

#include "formats/md5.h"

namespace orvix {
namespace {

TEST(Md5Wine, MatchesRfc1321Vectors) {
  EXPECT_EQ(Md5Hex(""), L"d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("message digest"), L"f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            L"57edf4a22be3c955ac49da2e2107b67a");
}

}  // namespace
}  // namespace orvix
