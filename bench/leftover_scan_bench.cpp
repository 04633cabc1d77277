// The leftover scan over a simulated machine of realistic size (see
// leftover_machine.h): a full scan of one program against a bare walk that
// reads every key, value and file under the roots the scan visits once, and
// the ten programs scanned one after the other. Prints medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/leftover_machine.h"
#include "inventory/software_info.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/sim/sim_machine.h"
#include "platform/text.h"
#include "uninstall/leftover_scan.h"
#include "uninstall/scan_registry.h"

namespace orvix::bench {
namespace {

constexpr int kRuns = 5;

class TSimWriter : public TMachineWriter {
 public:
  explicit TSimWriter(sim::SimMachine& machine) : machine_(machine) {}
  void Key(const std::wstring& path) override { machine_.registry.PutKey(path); }
  void String(const std::wstring& key, const std::wstring& name, const std::wstring& text) override {
    machine_.registry.PutString(key, name, text);
  }
  void Dword(const std::wstring& key, const std::wstring& name, DWORD value) override {
    machine_.registry.PutDword(key, name, value);
  }
  void File(const std::wstring& path, std::size_t size) override { machine_.files.PutFile(path, Bytes(size, 'x')); }

 private:
  sim::SimMachine& machine_;
};

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct TTimes {
  double median, min, max;
};

TTimes Runs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) times.push_back(Milliseconds(work));
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front(), times.back()};
}

struct TWalkCount {
  long keys = 0;
  long values = 0;
  long files = 0;
};

// Every key and value below a key, each value read as the scan reads it.
void WalkKey(HKEY root, const std::wstring& path, bool view64, const std::wstring& skip, TWalkCount& count) {
  TScanKey key(root, path, view64);
  if (!key) return;
  ++count.keys;
  for (const std::wstring& name : key.ValueNames()) {
    key.ValueText(name);
    ++count.values;
  }
  for (const std::wstring& name : key.SubKeyNames()) {
    if (!SameText(name, skip)) WalkKey(root, key.Below(name), view64, L"", count);
  }
}

void WalkFolder(const std::wstring& folder, TWalkCount& count) {
  IFileSystem& files = CurrentPlatform().Files();
  FindData data;
  FindHandle handle = 0;
  if (files.FindFirst(folder + L"\\*.*", &data, &handle) != ERROR_SUCCESS) return;
  TFindListing listing(files, handle);
  do {
    if (data.name == L"." || data.name == L"..") continue;
    ++count.files;
    const bool folderEntry = (data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folderEntry && (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) WalkFolder(folder + L"\\" + data.name, count);
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
}

// The floor: what the scan's areas read, each once. HKLM\SOFTWARE in the
// 64-bit view (the classes and the vendor keys; its Wow6432Node is the
// 32-bit view's), HKLM\SOFTWARE in the 32-bit view with its CLSID and
// Interface keys, the user's Software, the services, and the folders the
// file area searches.
TWalkCount BareWalk(const TSoftInfo& entry) {
  TWalkCount count;
  WalkKey(HKEY_LOCAL_MACHINE, L"\\SOFTWARE", true, L"Wow6432Node", count);
  WalkKey(HKEY_LOCAL_MACHINE, L"\\SOFTWARE", false, L"Classes", count);
  WalkKey(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\CLSID", false, L"", count);
  WalkKey(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\Interface", false, L"", count);
  WalkKey(HKEY_CURRENT_USER, L"\\Software", true, L"", count);
  WalkKey(HKEY_LOCAL_MACHINE, L"\\SYSTEM\\CurrentControlSet\\services", true, L"", count);
  IShellApi& shell = CurrentPlatform().Shell();
  WalkFolder(entry.InstallLocation, count);
  for (const int csidl : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS,
                          CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
    WalkFolder(shell.GetSpecialFolder(csidl), count);
  }
  return count;
}

int Scan(const TSoftInfo& entry) {
  TLeftoverTree tree;
  TLeftoverScan scan;
  return scan.ScanLeftovers(&entry, tree, L"");
}

}  // namespace
}  // namespace orvix::bench

// orvix_bench_leftover_scan [DIVISOR]: DIVISOR divides the machine's counts,
// to compare with the Wine benchmark's fraction.
int main(int argc, char** argv) {
  using namespace orvix;
  using namespace orvix::bench;
  sim::SimMachine machine;
  ScopedPlatform current(machine);
  IShellApi& shell = machine.shell;
  const TMachineFolders folders{shell.GetSpecialFolder(CSIDL_COMMON_APPDATA), shell.GetSpecialFolder(CSIDL_APPDATA),
                                shell.GetSpecialFolder(CSIDL_COMMON_PROGRAMS), shell.GetSpecialFolder(CSIDL_PROGRAMS)};
  TSimWriter writer(machine);
  const int divisor = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const double built = Milliseconds([&] { WriteLeftoverMachine(writer, folders, TMachineSize{}.Divided(divisor)); });

  TSoftwareInfo inventory;
  std::vector<const TSoftInfo*> entries;
  for (const TBenchProgram& program : BenchPrograms()) {
    for (int i = 0; i < inventory.Count(); ++i) {
      if (inventory.GetItem(i)->DisplayName == program.name) entries.push_back(inventory.GetItem(i));
    }
  }
  if (entries.size() != BenchPrograms().size()) {
    std::fprintf(stderr, "only %zu of the %zu programs are listed\n", entries.size(), BenchPrograms().size());
    return 1;
  }
  const TSoftInfo& first = *entries.front();

  TWalkCount walked;
  const TTimes walk = Runs(kRuns, [&] { walked = BareWalk(first); });
  std::printf("machine divided by %d built in %.0f ms: the bare walk reads %ld keys, %ld values, %ld files and folders\n", divisor, built,
              walked.keys, walked.values, walked.files);

  int found = 0;
  const TTimes scan = Runs(kRuns, [&] { found = Scan(first); });
  std::printf("full scan of \"%ls\": median %.1f ms of %d runs (min %.1f, max %.1f), %d findings\n",
              first.DisplayName.c_str(), scan.median, kRuns, scan.min, scan.max, found);
  std::printf("bare walk (floor):           median %.1f ms of %d runs (min %.1f, max %.1f)\n", walk.median, kRuns,
              walk.min, walk.max);
  std::printf("ratio of medians, scan / bare walk: %.2f\n", scan.median / walk.median);

  std::vector<int> findings;
  const TTimes all = Runs(3, [&] {
    findings.clear();
    for (const TSoftInfo* entry : entries) findings.push_back(Scan(*entry));
  });
  std::printf("10 programs scanned one after the other: median %.1f ms of 3 runs (min %.1f, max %.1f); findings",
              all.median, all.min, all.max);
  for (const int count : findings) std::printf(" %d", count);
  std::printf("\n");
  return 0;
}
