// Wide texts in test traces.
#pragma once

#include <string>
#include <string_view>

#include "formats/text_codec.h"

namespace orvix::testing {

inline std::string Narrow(std::wstring_view text) { return ToUtf8(text); }

}  // namespace orvix::testing
