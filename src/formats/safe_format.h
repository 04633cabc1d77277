// Formatting of texts that come from files (language files, servers): the
// text is never used as a printf format. Its %s and %d (or %0:s, %1:d...)
// are checked against the arguments; when they do not match, the trusted
// English default is used instead. "%%" writes one percent sign.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orvix {

using FormatArg = std::variant<std::wstring, std::int64_t>;

// Substitutes the arguments when the pattern's placeholders match them in
// number and kind; otherwise substitutes them into `fallback` (which must
// match; a fallback that does not is returned as it is).
std::wstring SafeFormat(const std::wstring& pattern, const std::vector<FormatArg>& args, const std::wstring& fallback);

// True when every placeholder of the pattern names an argument of its kind
// and every argument is used.
bool FormatMatches(const std::wstring& pattern, const std::vector<FormatArg>& args);

}  // namespace orvix
