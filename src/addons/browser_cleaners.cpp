// The cleaners of the browsers that have one, in the order they are shown.
#include "addons/browser_cleaners.h"

#include "addons/chrome_browser_cleaner.h"
#include "addons/firefox_browser_cleaner.h"
#include "addons/ie_browser_cleaner.h"
#include "addons/opera_browser_cleaner.h"

namespace orvix {

std::vector<std::unique_ptr<TCustomBrowserCleaner>> MakeBrowserCleaners() {
  std::vector<std::unique_ptr<TCustomBrowserCleaner>> cleaners;
  cleaners.push_back(std::make_unique<TIEBrowserCleaner>());
  cleaners.push_back(std::make_unique<TChromeBrowserCleaner>());
  cleaners.push_back(std::make_unique<TFFBrowserCleaner>());
  cleaners.push_back(std::make_unique<TOperaBrowserCleaner>());
  return cleaners;
}

}  // namespace orvix
