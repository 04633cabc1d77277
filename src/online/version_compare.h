// Dotted version texts ("3.2.0.12") compared in order, for the news check's
// question whether the server announces a newer program than the running one.
#pragma once

#include <string>

namespace orvix {

// Whether `first` is newer than `second`. Parts are compared from the left,
// each as a whole number of any length (so 2.0 is newer than 1.9 and 1.10
// newer than 1.9); the first part that differs decides, a number ranking
// above a part that is none, and texts that are no number comparing
// ignoring case. When the shorter one runs out, the one with more parts is
// newer (3.2.0.12 is newer than 3.2). Equal texts are not newer. An empty
// second text is older than anything, even an empty first one.
bool IsNewerVersion(const std::wstring& first, const std::wstring& second);

}  // namespace orvix
