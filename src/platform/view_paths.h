// Paths a registration names, as Windows resolves them for a program of the
// registration's view. On 64-bit Windows a 32-bit program's %ProgramFiles%
// and %CommonProgramFiles% are the x86 folders, its System32 is SysWOW64
// (but for the few sub-folders both share) and its Sysnative the real
// System32; a 64-bit program's are the native ones. Read through this, a
// registration leads both builds to the same files.
#pragma once

#include <string>

namespace orvix {

// The text with those names replaced for a program of the view; unchanged
// on 32-bit Windows, which has one view.
std::wstring PathTextForView(const std::wstring& text, bool view64);

}  // namespace orvix
