// Table-driven tests: each row of a table derives from NamedCase, whose name
// titles the generated test and stands for the row in failure messages.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace orvix::testing {

struct NamedCase {
  const char* name;
};

inline std::ostream& operator<<(std::ostream& os, const NamedCase& row) { return os << row.name; }

// The name generator for INSTANTIATE_TEST_SUITE_P.
struct CaseName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    return info.param.name;
  }
};

}  // namespace orvix::testing
