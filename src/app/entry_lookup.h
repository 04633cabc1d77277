// Finding the installed program a console command names.
#pragma once

#include <string>

#include "app/console_output.h"
#include "inventory/software_info.h"

namespace orvix {

enum TNameMatch {
  nmWholeName,       // only a name equal to NAME, ignoring case
  nmWholeOrOnlyPart, // that, or else the one name that contains NAME
};

// The listed entry NAME stands for; nullptr after printing why there is
// none (no match, or the candidates, each with its view).
TSoftInfo* FindEntryByName(const TSoftwareInfo& inventory, const std::wstring& name, TNameMatch match,
                           ConsoleOutput& err);

// The name as the console lists it: "(x64)" after the 64-bit view's entries.
std::wstring NameWithView(const TSoftInfo& entry);

}  // namespace orvix
