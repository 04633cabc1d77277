// Twins, the combined list, the batches over every browser and the exported
// add-on list (see all_browser_cleaner.h).
#include "addons/all_browser_cleaner.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

const std::wstring kEqualsRule(36, L'=');
const std::wstring kStarRule(36, L'*');
const std::wstring kDashRule(46, L'-');

void AddLine(std::wstring& text, const std::wstring& line) {
  text += line;
  text += L"\r\n";
}

bool SameAddOn(const std::wstring& caption, const std::wstring& description, const std::wstring& version,
               const TPluginItem& item) {
  return SameText(caption, item.Caption) && SameText(description, item.Description) &&
         SameText(version, item.Version);
}

// The sections of a browser's part of the list, in their order.
std::vector<std::uint8_t> SectionsOf(TPluginBrowsr browser) {
  switch (browser) {
    case pbIE: return {pgToolbar, pgBHO, pgActiveX};
    case pbChrome:
    case pbFireFox:
    case pbOpera: return {pgExtension, pgPlugin};
    default: return {};
  }
}

void AddSection(std::wstring& text, const TCustomBrowserCleaner& cleaner, std::uint8_t group) {
  bool headed = false;
  for (const auto& item : cleaner.Items) {
    if (item->Collection.Kind != group) continue;
    if (!headed) {
      AddLine(text, kStarRule);
      AddLine(text, PluginGroupName(group));
      AddLine(text, kStarRule);
      AddLine(text, L"");
      headed = true;
    }
    AddLine(text, L"Name: " + item->Caption);
    AddLine(text, L"Version: " + item->Version);
    AddLine(text, L"Description: " + item->Description);
    AddLine(text, L"Publisher: " + item->Publisher);
    AddLine(text, item->Is64Bit ? L"Architecture: 64-bit" : L"Architecture: 32-bit");
    AddLine(text, kDashRule);
    AddLine(text, L"");
  }
}

}  // namespace

void TAllBrowserCleaner::BuildCombined() {
  Twins.clear();
  Combined.clear();
  std::vector<TAddedPluginInfo> added;
  for (TCustomBrowserCleaner* a : Cleaners) {
    for (const auto& item : a->Items) {
      for (TCustomBrowserCleaner* b : Cleaners) {
        for (const auto& other : b->Items) {
          if (other->ID != item->ID && SameAddOn(item->Caption, item->Description, item->Version, *other)) {
            Twins.push_back(item->ID + L"=" + other->ID);
          }
        }
      }
      const bool seen = std::any_of(added.begin(), added.end(), [&](const TAddedPluginInfo& info) {
        return SameAddOn(info.Caption, info.Description, info.Version, *item);
      });
      if (seen) continue;
      added.push_back({item->Caption, item->Publisher, item->Description, item->Version});
      Combined.push_back(item.get());
    }
  }
}

std::wstring TAllBrowserCleaner::TwinsOf(const std::wstring& id) const {
  std::wstring lines;
  for (const std::wstring& pair : Twins) {
    const std::size_t equals = pair.find(L'=');
    if (equals != std::wstring::npos && SameText(pair.substr(0, equals), id)) {
      if (!lines.empty()) lines += L"\r\n";
      lines += pair.substr(equals + 1);
    }
  }
  return lines;
}

std::vector<std::wstring> TAllBrowserCleaner::ExpandWithTwins(const std::vector<std::wstring>& ids) const {
  std::vector<std::wstring> expanded;
  for (const std::wstring& id : ids) {
    expanded.push_back(id);
    for (const std::wstring& pair : Twins) {
      const std::size_t equals = pair.find(L'=');
      if (equals != std::wstring::npos && SameText(pair.substr(0, equals), id)) {
        expanded.push_back(pair.substr(equals + 1));
      }
    }
  }
  return expanded;
}

TPluginItem* TAllBrowserCleaner::FindItem(const std::wstring& id) const {
  for (TCustomBrowserCleaner* cleaner : Cleaners) {
    if (TPluginItem* item = cleaner->FindItem(id)) return item;
  }
  return nullptr;
}

std::set<TPluginBrowsr> TAllBrowserCleaner::BrowsersOf(const TPluginItem& item) const {
  std::set<TPluginBrowsr> browsers{item.Browser};
  for (const std::wstring& id : ExpandWithTwins({item.ID})) {
    if (const TPluginItem* twin = FindItem(id)) browsers.insert(twin->Browser);
  }
  return browsers;
}

void TAllBrowserCleaner::SetTrust(const std::vector<std::wstring>& ids, std::uint8_t newState) {
  for (TCustomBrowserCleaner* cleaner : Cleaners) cleaner->SetTrust(ids, newState);
}

void TAllBrowserCleaner::Remove(const std::vector<std::wstring>& ids) {
  const std::vector<std::wstring> expanded = ExpandWithTwins(ids);
  try {
    for (TCustomBrowserCleaner* cleaner : Cleaners) cleaner->RemoveItems(expanded);
  } catch (const std::exception&) {
    // The page hears of the end all the same.
  }
  if (OnRemoveFinished) OnRemoveFinished(*this);
}

void TAllBrowserCleaner::Restore(const std::vector<std::wstring>& ids) {
  const std::vector<std::wstring> expanded = ExpandWithTwins(ids);
  for (TCustomBrowserCleaner* cleaner : Cleaners) cleaner->RestoreItems(expanded);
}

void TAllBrowserCleaner::Vote(TPluginItem& item, std::int32_t score) {
  for (TCustomBrowserCleaner* cleaner : Cleaners) {
    const bool holds = std::any_of(cleaner->Items.begin(), cleaner->Items.end(),
                                   [&](const std::unique_ptr<TPluginItem>& owned) { return owned.get() == &item; });
    if (holds) {
      cleaner->AddVote(item, score);
      return;
    }
  }
}

void TAllBrowserCleaner::ReassignAllScores() {
  for (TCustomBrowserCleaner* cleaner : Cleaners) cleaner->ReassignScores();
}

std::wstring TAllBrowserCleaner::ExportText(const std::wstring& appVersion, const std::wstring& osName,
                                            TDateTime exportedAt) const {
  std::wstring text;
  AddLine(text, kEqualsRule);
  AddLine(text, L"Browser Plug-ins List");
  AddLine(text, L"Application Version:" + appVersion);
  AddLine(text, osName);
  AddLine(text, L"Exported Time:" + FormatDate(exportedAt, L"MM-dd-yyyy HH:mm:ss"));
  AddLine(text, kEqualsRule);
  AddLine(text, L"");
  for (const TCustomBrowserCleaner* cleaner : Cleaners) {
    const std::wstring heading = BrowserExportHeading(cleaner->Browser());
    if (heading.empty()) continue;
    AddLine(text, kEqualsRule);
    AddLine(text, L"Browser: " + heading);
    AddLine(text, kEqualsRule);
    AddLine(text, L"");
    for (const std::uint8_t group : SectionsOf(cleaner->Browser())) AddSection(text, *cleaner, group);
  }
  return text;
}

std::wstring TAllBrowserCleaner::ExportText() const {
  return ExportText(FileVersionText(CurrentPlatform().Shell().GetModuleFileName()), OsName(), NowLocal());
}

}  // namespace orvix
