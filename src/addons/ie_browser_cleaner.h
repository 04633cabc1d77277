// The Internet Explorer cleaner: toolbars, toolbar buttons and menu
// extensions, browser helper objects and ActiveX controls found in the
// registry (both views on 64-bit Windows), switched off and on again through
// Internet Explorer's own per-user add-on settings. Nothing is deleted and
// no file is unregistered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addons/custom_browser_cleaner.h"
#include "platform/win_types.h"

namespace orvix {

class TIEBrowserCleaner : public TCustomBrowserCleaner {
 public:
  // Where an entry was found.
  enum TSource : std::uint8_t { srOther = 0, srToolbar = 1, srMachineExtension = 2, srUserExtension = 3 };

  // The extra data of one Internet Explorer entry.
  class TIEPluginExtInfo : public TPluginExtInfo {
   public:
    std::wstring ClassKey;    // "\SOFTWARE\Classes\CLSID\" + class id (ActiveX only)
    std::wstring ServerPath;  // InprocServer32's default value (ActiveX and BHO)
    std::vector<std::wstring> Values;      // the add-on key's values as name + "=" + data
    std::vector<std::wstring> ValueTypes;  // per line: 1 text, 2 expandable text, 3 integer
    std::uint8_t Source = srOther;
  };

  TIEBrowserCleaner();

  TPluginBrowsr Browser() const override { return pbIE; }
  void ReleaseItem(TPluginItem& item) override;
  bool IsBrowserInstalled() override;
  bool CanRemoveItem(TPluginItem& item) override;
  void DeleteBackup(const std::wstring& id) override;
  void ScanItems() override;
  bool RemoveItem(TPluginItem& item) override;
  bool RestoreItem(TPluginItem& item) override;
  std::wstring LastSwitchProblem() const override { return lastProblem_; }

  // The major version in "Version Vector"'s "IE" value; 0 when unreadable.
  int ReadIEVersion(bool view64) const;
  void CollectDisabledIDs(bool view64);
  bool DisableAddon(TPluginItem& item);
  bool EnableAddon(TPluginItem& item);
  std::wstring ReadClassName(const std::wstring& classId, bool view64) const;
  std::wstring ReadServerPath(const std::wstring& classId) const;
  // The class's name and its server file's facts; the band class stands in
  // for a class that is not registered.
  std::wstring GetClassInfo(const std::wstring& classId, const std::wstring& bandClassId, bool preferProductVersion,
                            bool view64, TMozilPlugFileInfo& info) const;
  void CaptureValues(HKEY root, const std::wstring& keyPath, bool view64, TIEPluginExtInfo& extInfo) const;
  static std::wstring ExtensionCaption(const TIEPluginExtInfo& extInfo);

  void ScanToolbars(bool view64);
  void ScanExtensions(bool view64);
  void ScanUserExtensions(bool view64);
  void ScanHelperObjects(bool view64);
  // `source` is "Distribution Units" under HKLM or "Ext\Stats" under HKCU.
  void ScanActiveX(bool view64, bool extStats);

  int IEVersion = 0;
  int IEVersion64 = 0;
  std::vector<std::wstring> DisabledIDs;

 private:
  bool IsDisabled(const std::wstring& classId) const;
  std::wstring lastProblem_;
  // The toolbar buttons and menu extensions listed under one root.
  void ScanExtensionsOf(HKEY root, bool view64);
  // Adds one entry with the publisher, description and version from the
  // file facts; inactive when Internet Explorer has it switched off.
  void AddFound(std::uint8_t group, const std::wstring& classId, const std::wstring& caption,
                const TMozilPlugFileInfo& info, const std::wstring& location, bool view64,
                std::unique_ptr<TIEPluginExtInfo> extInfo);
};

}  // namespace orvix
