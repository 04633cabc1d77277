// What the About box shows: the product title, the version of the running
// program from its version resource, the legal and credit texts, and its
// close button's hint. The window (drawn elsewhere) translates its labels
// through the language files like every window; these are the texts it
// starts from.
#pragma once

#include <string>

namespace orvix {

struct TAboutTexts {
  std::wstring title;      // "Orvix Uninstaller"
  std::wstring version;    // "v" + the program's FileVersion
  std::wstring legal;
  std::wstring credits;
  std::wstring closeHint;  // the message "Close"
};

// Reads the running program's version resource.
TAboutTexts AboutTexts();

}  // namespace orvix
