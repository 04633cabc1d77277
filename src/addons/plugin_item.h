// The browser add-on model: one add-on (TPluginItem) with its group, the
// browsers it can come from, the Mozilla plug-in registry record and what a
// plug-in's file says about itself. Every browser cleaner fills these; the
// add-on page, the console's "addons" command and the exported list read them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvix {

enum TPluginBrowsr : std::uint8_t { pbUnknown = 0, pbCommon = 1, pbIE = 2, pbChrome = 3, pbFireFox = 4, pbOpera = 5 };

// The group codes kept in TPluginCollection::Kind.
enum TPluginGroup : std::uint8_t {
  pgExtension = 1,  // "Extensions": Chrome, Firefox, Opera
  pgPlugin = 2,     // "Plug-ins": Chrome, Firefox, Opera
  pgToolbar = 3,    // "Toolbar": Internet Explorer toolbars, toolbar buttons and menu extensions
  pgBHO = 4,        // "BHO": Internet Explorer browser helper objects
  pgActiveX = 5,    // "ActiveX": Internet Explorer ActiveX controls
};

// TrustState values.
enum TPluginTrust : std::uint8_t { ptTrusted = 1, ptUntrusted = 2 };

struct TPluginCollection {
  std::uint8_t Kind = 0;
};

// Extra data one cleaner keeps with its entries (Internet Explorer's
// registry values, say); owned by the entry, released by the cleaner's
// ReleaseItem.
class TPluginExtInfo {
 public:
  virtual ~TPluginExtInfo() = default;
};

// What the add-on page keeps per entry (check marks, display rank); zero
// until the page sets it.
struct TPluginViewState {
  std::uint8_t Flags[5] = {};
  std::int32_t Rank = 0;
  std::uint8_t Mark = 0;
};

class TPluginItem {
 public:
  // A new GUID in registry text form as ID; TrustState 2, Active true.
  TPluginItem();
  TPluginItem(const TPluginItem&) = delete;
  TPluginItem& operator=(const TPluginItem&) = delete;

  std::wstring ID;      // this entry inside the running program, unique across all cleaners
  std::wstring ItemID;  // the browser's own identifier: class id, extension id, plug-in name
  TPluginBrowsr Browser = pbUnknown;
  TPluginCollection Collection;
  std::wstring Caption;      // the name without "&", or the file-name part of the first location
  std::wstring RawName;      // the name without "&" (may be empty)
  std::wstring Description;
  std::wstring Publisher;    // signer or company
  std::wstring Version;      // "," replaced by "."
  std::uint8_t TrustState = ptUntrusted;
  bool HasScore = false;     // the score comes from the score database
  bool Voted = false;        // the user voted on this entry
  std::vector<std::wstring> Paths;  // locations: files, folders or registry locations; at least one
  std::int32_t Score = 0;
  std::int32_t VoteScore = 0;  // the user's own vote, 1 to 5; 0 for none
  bool Active = true;          // installed and switched on
  bool Is64Bit = false;        // the 64-bit side: 64-bit registry view or 64-bit plug-in
  std::unique_ptr<TPluginExtInfo> ExtInfo;
  TPluginViewState View;
};

// One entry of the Mozilla plug-in registry (HKLM/HKCU\SOFTWARE\MozillaPlugins).
struct TMozilaGeneralPluginItem {
  std::wstring PluginID;  // the subkey name
  std::wstring Name;      // "ProductName"
  std::wstring Description;
  std::wstring Path;
  std::wstring Vendor;
  std::wstring Version;
  bool Is64Bit = false;  // read through the 64-bit view
};

// What a plug-in or COM server file says about itself.
struct TMozilPlugFileInfo {
  std::wstring ProductName;
  std::wstring Description;  // the file description
  std::wstring Version;
  std::wstring CompanyName;
  std::wstring Signer;  // the signer of the file's embedded signature, empty when unsigned
  std::wstring Path;
};

// "IE", "Chrome", "Firefox", "Opera"; empty for pbUnknown and pbCommon.
std::wstring BrowserDisplayName(TPluginBrowsr browser);
// "iexplore.exe", "chrome.exe", "firefox.exe", "opera.exe"; empty otherwise.
std::wstring BrowserExecutable(TPluginBrowsr browser);
// The heading of a browser in the exported list: "Internet Explorer",
// "Google Chrome", "Mozilla FireFox", "Opera"; empty otherwise.
std::wstring BrowserExportHeading(TPluginBrowsr browser);
// Whether a process of the browser's executable runs; true without looking
// for pbUnknown and pbCommon.
bool IsBrowserRunning(TPluginBrowsr browser);

// "Extensions", "Plug-ins", "Toolbar", "BHO", "ActiveX"; empty otherwise.
std::wstring PluginGroupName(std::uint8_t group);

// A new GUID as text without braces, upper-case hex.
std::wstring NewGuidText();

}  // namespace orvix
