// The four browsers' cleaners, made in the order the add-on page and the
// console show them: Internet Explorer, Chrome, Firefox, Opera. A cleaner of
// each browser is added here once it exists.
#pragma once

#include <memory>
#include <vector>

#include "addons/custom_browser_cleaner.h"

namespace orvix {

std::vector<std::unique_ptr<TCustomBrowserCleaner>> MakeBrowserCleaners();

}  // namespace orvix
