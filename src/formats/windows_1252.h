// The Windows-1252 code page, the ANSI code page of the simulated machine
// and of most Western systems.
#pragma once

#include <string>
#include <string_view>

namespace orvix {

// Characters outside the code page become '?', as WideCharToMultiByte does.
std::string ToWindows1252(std::wstring_view text);
std::wstring FromWindows1252(std::string_view bytes);

}  // namespace orvix
