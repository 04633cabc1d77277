// Area 8: services that run from the install folder, and the device
// instances Windows made for them (Enum\Root\LEGACY_FOO).
//
// SYSTEM is not redirected on 64-bit Windows: both views reach the same
// keys, so one pass in the entry's view finds everything.
#include <algorithm>
#include <cwchar>

#include "platform/text.h"
#include "platform/text_split.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/system_areas.h"

namespace orvix {
namespace {

constexpr std::wstring_view kServices = L"\\SYSTEM\\CurrentControlSet\\services";
constexpr std::wstring_view kDevices = L"\\SYSTEM\\CurrentControlSet\\Enum\\";

// The device key of an instance path (Root\LEGACY_FOO\0000 gives
// Root\LEGACY_FOO). Empty unless the path has the enumerator, device and
// instance parts: anything shorter would name a whole enumerator
// (Enum\Root holds every legacy device of the machine).
std::wstring DeviceKeyOf(const std::wstring& instancePath) {
  const std::vector<std::wstring> parts = SplitText(instancePath, L'\\');
  if (parts.size() < 3) return {};
  std::wstring device;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const std::wstring& part = parts[i];
    if (Trim(part).empty() || part == L"." || part == L"..") return {};
    device += (i == 0 ? L"" : L"\\") + part;
  }
  return device;
}

class TServiceArea : public TScanArea {
 public:
  int Number() const override { return 8; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    TScanKey services(HKEY_LOCAL_MACHINE, std::wstring(kServices), scan.View64());
    std::vector<std::wstring> instances;
    for (const std::wstring& name : services.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey service(HKEY_LOCAL_MACHINE, services.Below(name), scan.View64());
      if (!RunsFromInstallFolder(scan, service)) continue;
      scan.ReportKey(services_, HKEY_LOCAL_MACHINE, name, services.Below(name));
      CollectInstances(scan, service, instances);
    }
    for (const std::wstring& instance : instances) {
      if (!scan.Tick()) return;
      const std::wstring device = DeviceKeyOf(instance);
      if (!device.empty()) scan.ReportKey(devices_, HKEY_LOCAL_MACHINE, device, std::wstring(kDevices) + device);
    }
  }

 private:
  // Whether one of the service's texts (ImagePath, a parameter...) names
  // the install folder; other data types hold no paths.
  static bool RunsFromInstallFolder(TRegeditScanClasses& scan, TScanKey& service) {
    for (const std::wstring& name : service.ValueNames()) {
      if (!scan.Tick()) return false;
      if (service.HoldsText(name) && scan.MatchesKeyword(service.ValueText(name))) return true;
    }
    return false;
  }

  // The instance paths under Enum: the values "0" to Count - 1.
  static void CollectInstances(TRegeditScanClasses& scan, TScanKey& service, std::vector<std::wstring>& instances) {
    TScanKey list(service.Root(), service.Below(L"Enum"), service.View64());
    if (!list.HasValue(L"Count")) return;
    const long count = std::wcstol(list.ValueText(L"Count").c_str(), nullptr, 10);
    // The count is only data: never read more values than the key holds.
    const long limit = std::min<long>(count, static_cast<long>(list.ValueNames().size()));
    for (long i = 0; i < limit; ++i) {
      if (!scan.Tick()) return;
      const std::wstring instance = Trim(list.ValueText(std::to_wstring(i)));
      if (!instance.empty() && std::find(instances.begin(), instances.end(), instance) == instances.end()) {
        instances.push_back(instance);
      }
    }
  }

  TFoundNames services_;
  TFoundNames devices_;
};

}  // namespace

TScanAreaPtr MakeServiceArea() { return std::make_unique<TServiceArea>(); }

}  // namespace orvix
