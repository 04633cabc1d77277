// The cleaners of the browsers that have one, in the order they are shown.
#include "addons/browser_cleaners.h"

#include "addons/ie_browser_cleaner.h"

namespace orvix {

std::vector<std::unique_ptr<TCustomBrowserCleaner>> MakeBrowserCleaners() {
  std::vector<std::unique_ptr<TCustomBrowserCleaner>> cleaners;
  cleaners.push_back(std::make_unique<TIEBrowserCleaner>());
  return cleaners;
}

}  // namespace orvix
