// Which keys the two registry views of 64-bit Windows share. Of the classes
// (HKEY_CLASSES_ROOT, and Software\Classes of HKLM and HKCU) the redirector
// keeps only CLSID, DirectShow, Interface, Media Type and MediaFoundation
// apart for 32-bit programs; every other class key is one key in both views.
#pragma once

#include <string_view>

#include "platform/win_types.h"

namespace orvix {

// A class key name (any case) that the 32-bit view keeps below Wow6432Node.
bool IsRedirectedClass(std::wstring_view name);

enum class ClassKeyKind {
  NotAClass,   // outside the classes
  Shared,      // HKCR itself, the classes keys themselves and what is below them
  Redirected,  // below a redirected class or below Wow6432Node
};

// The kind of a key path of a root, given with or without its leading backslash.
ClassKeyKind ClassKeyKindOf(HKEY root, std::wstring_view path);

// The access a process of the given bitness passes to Windows for the view
// bits the core asks for. The core names a view only when it wants the
// 64-bit one (or a shared class key); an access without a view means the
// 32-bit view, which a 64-bit process must ask for by name, as the view is a
// property of the machine and not of our own bitness.
REGSAM ProcessViewAccess(REGSAM access, bool process64);

}  // namespace orvix
