// A test suite whose tests share one fresh prefix with the samples
// installed (those of orvix's command suites unless it names others): made before the suite's first test and removed after its last,
// since a prefix and the installs take seconds. Each suite (each Tag) has its
// own prefix; its tests must not depend on one another's order.
#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "e2e/sample_catalog.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {

template <typename Tag, const auto& kSamples = kCommandSamples>
class SharedSamplesPrefixTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    try {
      prefix_ = std::make_unique<WinePrefix>();
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what();
      return;
    }
    for (const std::string& problem : InstallSamples(*prefix_, kSamples)) ADD_FAILURE() << problem;
  }
  static void TearDownTestSuite() { prefix_.reset(); }
  void SetUp() override { ASSERT_NE(prefix_, nullptr) << "the suite has no Wine prefix"; }

  static const WinePrefix& Prefix() { return *prefix_; }

  // Windows paths, possibly with %VARIABLES%, as the prefix's programs see them.
  static std::string Expanded(const std::string& text) {
    return text.find('%') == std::string::npos ? text : Prefix().Expand(text);
  }
  static bool Exists(const std::string& windowsPath) {
    return std::filesystem::exists(Prefix().HostPath(Expanded(windowsPath)));
  }
  static std::string InstallFolder(const SampleProduct& sample) { return Expanded(sample.installFolder); }
  static std::string MainProgram(const SampleProduct& sample) {
    return InstallFolder(sample) + "\\" + sample.mainProgram;
  }

 private:
  inline static std::unique_ptr<WinePrefix> prefix_;
};

}  // namespace orvix::e2e
