// Registry findings as the review tree shows them ("root\key | value -
// data"), so that scan tests compare plain lines.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry_helpers.h"
#include "uninstall/scan_findings.h"

namespace orvix::testing {

inline std::wstring Line(const TShowRegInfo& f) { return RegItemText(f.RootKey, f.KeyPath, f.ValueName, f.ValueData); }

inline std::vector<std::wstring> Lines(const TRegFindings& findings) {
  std::vector<std::wstring> lines;
  for (const TShowRegInfo& f : findings) lines.push_back(Line(f));
  return lines;
}

// The same, each line marked with the view the finding was made in.
inline std::vector<std::wstring> ViewLines(const TRegFindings& findings) {
  std::vector<std::wstring> lines;
  for (const TShowRegInfo& f : findings) lines.push_back(Line(f) + (f.View64 ? L" (64)" : L" (32)"));
  return lines;
}

// The key findings only: enough to see which keys an area chose.
inline std::vector<std::wstring> Keys(const TRegFindings& findings) {
  std::vector<std::wstring> lines;
  for (const TShowRegInfo& f : findings) {
    if (f.IsKey()) lines.push_back(Line(f));
  }
  return lines;
}

inline bool Has(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace orvix::testing
