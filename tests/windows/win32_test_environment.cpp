// The Windows tests run on the real machine: gtest_main runs them with the
// Win32 platform current.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/win32/win32_platform.h"

namespace {

class Win32Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Each line as it is written: a test that hangs or crashes under Wine
    // is then the last one shown, not one a buffer behind.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    previous_ = orvix::SetCurrentPlatform(&platform_);
  }
  void TearDown() override { orvix::SetCurrentPlatform(previous_); }

 private:
  orvix::win32::Win32Platform platform_;
  orvix::Platform* previous_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new Win32Environment);

}  // namespace
