#include "formats/hmac_sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace orvix {
namespace {

// RFC 4231's test cases 1, 2 and 6 (a key longer than the block), and an
// empty key, which HMAC pads like any other.
TEST(HmacSha256Test, PublishedVectors) {
  EXPECT_EQ(HmacSha256Hex(std::string(20, '\x0b'), "Hi There"),
            "B0344C61D8DB38535CA8AFCEAF0BF12B881DC200C9833DA726E9376C2E32CFF7");
  EXPECT_EQ(HmacSha256Hex("Jefe", "what do ya want for nothing?"),
            "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843");
  EXPECT_EQ(HmacSha256Hex(std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"),
            "60E431591EE0B67F0D8A26AACBF5B77F8E0BC6213728C5140546040F0EE37F54");
  EXPECT_EQ(HmacSha256Hex("", ""), "B613679A0814D9EC772F95D778C35FC5FF1697C493715653C6C712144292C5AD");
}

}  // namespace
}  // namespace orvix
