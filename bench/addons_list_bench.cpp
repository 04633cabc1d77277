// Listing the browsers' add-ons the way "orvix addons list" does (every
// cleaner made, scanned and the combined list built) over a simulated
// machine with 50 Internet Explorer entries (helper objects, toolbars and
// ActiveX controls in both registry views, each with a server file that has
// version information), against the floor: reading the same keys and files
// once. Prints the medians of several runs and their ratio. The profiles of
// the other browsers join the machine as their cleaners do.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "addons/all_browser_cleaner.h"
#include "addons/browser_cleaners.h"
#include "addons/plugin_file_info.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/sim/sim_machine.h"

namespace {

constexpr int kRuns = 9;
constexpr int kHelpersPerView = 10;
constexpr int kToolbarsPerView = 5;
constexpr int kControlsPerView = 10;

struct Key {
  std::wstring classKey;  // under HKLM, as the program names it in its view
  bool view64;
};

std::vector<Key> AddIeEntries(orvix::sim::SimMachine& machine) {
  std::vector<Key> keys;
  auto& reg = machine.registry;
  reg.PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer", L"Version", L"9.0");
  for (int view = 0; view < 2; ++view) {
    const std::wstring software = view == 0 ? L"HKLM\\SOFTWARE\\Wow6432Node\\" : L"HKLM\\SOFTWARE\\";
    const std::wstring classes = view == 0 ? L"HKLM\\SOFTWARE\\Classes\\Wow6432Node\\CLSID\\" : L"HKLM\\SOFTWARE\\Classes\\CLSID\\";
    auto addClass = [&](const std::wstring& clsid, const std::wstring& name) {
      const std::wstring server = L"C:\\Bench\\" + clsid + L".dll";
      reg.PutString(classes + clsid, L"", name);
      reg.PutString(classes + clsid + L"\\InprocServer32", L"", server);
      machine.files.PutFile(server, std::string_view("MZ"));
      machine.versions.AttachStrings(server, {{L"CompanyName", L"Bench Maker"},
                                              {L"FileDescription", name},
                                              {L"FileVersion", L"1.0.0." + clsid.substr(1, 3)},
                                              {L"ProductVersion", L"1.0"}});
      keys.push_back({L"\\SOFTWARE\\Classes\\CLSID\\" + clsid, view == 1});
    };
    for (int i = 0; i < kHelpersPerView; ++i) {
      const std::wstring clsid = L"{" + std::to_wstring(100 + i + 100 * view) + L"-HELPER}";
      addClass(clsid, L"Bench Helper " + std::to_wstring(i));
      reg.PutKey(software + L"Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\" + clsid);
    }
    for (int i = 0; i < kToolbarsPerView; ++i) {
      const std::wstring clsid = L"{" + std::to_wstring(300 + i + 100 * view) + L"-TOOLBAR}";
      addClass(clsid, L"Bench Toolbar " + std::to_wstring(i));
      reg.PutString(software + L"Microsoft\\Internet Explorer\\Toolbar", clsid, L"");
    }
    for (int i = 0; i < kControlsPerView; ++i) {
      const std::wstring clsid = L"{" + std::to_wstring(500 + i + 100 * view) + L"-CONTROL}";
      addClass(clsid, L"Bench Control " + std::to_wstring(i));
      reg.PutKey(software + L"Microsoft\\Code Store Database\\Distribution Units\\" + clsid);
    }
  }
  return keys;
}

// The floor: every class key and its server's facts read once.
int ReadOnce(const std::vector<Key>& keys) {
  int read = 0;
  for (const Key& key : keys) {
    orvix::TRegistry registry(orvix::KEY_READ | (key.view64 ? orvix::KEY_WOW64_64KEY : 0));
    registry.SetRootKey(orvix::HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(key.classKey + L"\\InprocServer32")) continue;
    const std::wstring server = registry.ReadString(L"");
    read += !orvix::GetPluginFileInfo(server, false).Version.empty();
  }
  return read;
}

double Median(const std::function<void()>& run) {
  std::vector<double> milliseconds;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    milliseconds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  return milliseconds[kRuns / 2];
}

}  // namespace

int main() {
  orvix::sim::SimMachine machine;
  orvix::ScopedPlatform current(machine);
  const std::vector<Key> keys = AddIeEntries(machine);
  std::size_t listed = 0;
  const double listing = Median([&] {
    auto cleaners = orvix::MakeBrowserCleaners();
    orvix::TAllBrowserCleaner all;
    listed = 0;
    for (auto& cleaner : cleaners) {
      cleaner->ScanMozillaPluginsRegistry();
      cleaner->List();
      all.AddCleaner(cleaner.get());
      listed += cleaner->Items.size();
    }
    all.BuildCombined();
  });
  int read = 0;
  const double floor = Median([&] { read = ReadOnce(keys); });
  std::printf("add-on listing over the simulation: %zu entries listed, median %.1f ms of %d runs; "
              "reading the same %zu classes and %d server files once: median %.1f ms; ratio %.2f\n",
              listed, listing, kRuns, keys.size(), read, floor, floor > 0 ? listing / floor : 0.0);
  return 0;
}
