// A scripted browser cleaner for the tests of the add-on model: it "finds"
// the add-ons a test lists and switches them off and on as told, so that the
// shared cleaner logic can be checked without any browser's files.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "addons/custom_browser_cleaner.h"
#include "platform/text.h"

namespace orvix::testing {

struct TFoundAddOn {
  std::wstring itemId;
  std::wstring name;
  std::wstring description = L"";
  std::wstring location = L"C:\\Addons\\addon.dll";
  std::wstring publisher = L"";
  std::wstring version = L"1.0";
  bool active = true;
  bool is64Bit = false;
  std::uint8_t group = pgExtension;
};

class TFakeCleaner : public TCustomBrowserCleaner {
 public:
  explicit TFakeCleaner(TPluginBrowsr browser, std::vector<TFoundAddOn> found = {})
      : browser_(browser), found_(std::move(found)) {}

  TPluginBrowsr Browser() const override { return browser_; }
  void ScanItems() override {
    for (const TFoundAddOn& f : found_) {
      AddItem(browser_, f.group, f.itemId, f.name, f.description, f.location, f.publisher, f.version, f.active,
              f.is64Bit);
    }
  }
  bool RemoveItem(TPluginItem& item) override {
    if (!item.Active) return true;
    switchedOff.push_back(item.ItemID);
    return !refused.contains(item.ItemID);
  }
  bool RestoreItem(TPluginItem& item) override {
    if (item.Active) return true;
    switchedOn.push_back(item.ItemID);
    return !refused.contains(item.ItemID);
  }

  // The entry of a browser identifier, or none.
  TPluginItem* ByItemId(const std::wstring& itemId, bool is64Bit = false) const {
    for (const auto& item : Items) {
      if (item->ItemID == itemId && item->Is64Bit == is64Bit) return item.get();
    }
    return nullptr;
  }

  std::vector<std::wstring> switchedOff;
  std::vector<std::wstring> switchedOn;
  std::set<std::wstring> refused;  // item ids whose switch fails

 private:
  TPluginBrowsr browser_;
  std::vector<TFoundAddOn> found_;
};

}  // namespace orvix::testing
