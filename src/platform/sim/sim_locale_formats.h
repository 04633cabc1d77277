// The short date formats Windows ships with its locales, as a simulated user
// may have chosen them, so that tests can go through every one.
#pragma once

#include <vector>

namespace orvix::sim {

struct SimShortDateFormat {
  const wchar_t* locale;
  const wchar_t* picture;
};

const std::vector<SimShortDateFormat>& ShippedShortDateFormats();

}  // namespace orvix::sim
