// A machine of realistic size for the leftover-scan benchmarks: tens of
// thousands of COM classes, interfaces, type libraries and file types,
// services, deep vendor keys and files in the profile folders, with ten
// installed programs whose leftovers are spread through all of it. The same
// seed always gives the same machine; a writer takes it into the simulation
// or into a .reg file and a file tree for Wine.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix::bench {

// Receives the machine. Registry paths start with HKLM\ or HKCU\ and name
// the stored key (a key of the 32-bit view is written under Wow6432Node);
// a key's values follow its Key call. File paths start with C:\.
class TMachineWriter {
 public:
  virtual ~TMachineWriter() = default;
  virtual void Key(const std::wstring& path) = 0;
  virtual void String(const std::wstring& key, const std::wstring& name, const std::wstring& text) = 0;
  virtual void Dword(const std::wstring& key, const std::wstring& name, DWORD value) = 0;
  virtual void File(const std::wstring& path, std::size_t size) = 0;
};

// Where the files of the profile go: the simulation and Wine lay them out
// differently.
struct TMachineFolders {
  std::wstring commonAppData;
  std::wstring appData;
  std::wstring commonPrograms;
  std::wstring programs;
};

struct TMachineSize {
  int clsids = 50000;
  int classes = 30000;  // file types, their extensions and ProgIDs
  int interfaces = 20000;
  int typeLibs = 5000;
  int services = 600;
  int vendorKeys = 300000;  // below the vendor keys of HKLM\SOFTWARE and HKCU\Software
  int files = 20000;        // in the application-data and Start-menu folders

  // The same machine with every count divided (never below one), for
  // importers too slow for the whole.
  TMachineSize Divided(int divisor) const;
};

// One of the installed programs whose leftovers the benchmarks scan.
struct TBenchProgram {
  std::wstring name;
  std::wstring publisher;
  std::wstring folder;  // its install folder, C:\Program Files\PUBLISHER\NAME
};

const std::vector<TBenchProgram>& BenchPrograms();

// Writes the whole machine; the counts of a fraction keep the ten programs
// and their leftovers whole.
void WriteLeftoverMachine(TMachineWriter& writer, const TMachineFolders& folders, const TMachineSize& size = {});

}  // namespace orvix::bench
