// Enumeration of 1,000 Uninstall entries (500 per registry view, realistic
// values) over the simulated machine. Prints the median of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "inventory/software_info.h"
#include "platform/platform.h"
#include "platform/sim/sim_machine.h"

namespace {

constexpr int kEntriesPerView = 500;
constexpr int kRuns = 9;

void AddEntries(orvix::sim::SimMachine& machine) {
  const std::wstring views[] = {L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
                                L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"};
  for (int view = 0; view < 2; ++view) {
    for (int i = 0; i < kEntriesPerView; ++i) {
      const std::wstring name = L"Bench Program " + std::to_wstring(view) + L"-" + std::to_wstring(i);
      const std::wstring key = views[view] + L"{" + std::to_wstring(100000 + i) + L"-BENCH}";
      const std::wstring folder = L"C:\\Program Files\\Bench Vendor\\" + name;
      auto& reg = machine.registry;
      reg.PutString(key, L"DisplayName", name);
      reg.PutString(key, L"DisplayVersion", L"1." + std::to_wstring(i) + L".0");
      reg.PutString(key, L"Publisher", L"Bench Vendor Ltd.");
      reg.PutString(key, L"UninstallString", L"\"" + folder + L"\\uninstall.exe\" /S");
      reg.PutString(key, L"DisplayIcon", folder + L"\\program.exe,0");
      reg.PutString(key, L"InstallLocation", folder);
      reg.PutString(key, L"URLInfoAbout", L"https://example.invalid/bench");
      reg.PutString(key, L"InstallDate", L"20240115");
      reg.PutDword(key, L"EstimatedSize", 20480 + i);
      machine.files.PutFolder(folder);
    }
  }
}

}  // namespace

int main() {
  orvix::sim::SimMachine machine;
  orvix::ScopedPlatform current(machine);
  AddEntries(machine);
  std::vector<double> milliseconds;
  int listed = 0;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    orvix::TSoftwareInfo inventory;
    milliseconds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    listed = inventory.Count();
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("enumeration of %d Uninstall entries (%d per view) over the simulation: median %.1f ms of %d runs "
              "(min %.1f, max %.1f), %d entries listed\n",
              2 * kEntriesPerView, kEntriesPerView, milliseconds[kRuns / 2], kRuns, milliseconds.front(),
              milliseconds.back(), listed);
  return 0;
}
