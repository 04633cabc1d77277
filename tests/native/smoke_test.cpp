#include <gtest/gtest.h>
#include "platform/text.h"
TEST(Smoke, Builds) { EXPECT_TRUE(orvix::SameText(L"a", L"A")); }
