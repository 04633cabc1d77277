#include "browser_fixtures.h"

#include <fstream>
#include <iterator>

namespace orvix::testing {

std::filesystem::path BrowserFixturesDir() {
  const std::filesystem::path dir(ORVIX_FIXTURES_DIR);
  return std::filesystem::is_directory(dir) ? dir : std::filesystem::path();
}

std::string FixtureText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CopyIntoMachine(sim::SimMachine& machine, const std::filesystem::path& from, const std::wstring& target) {
  machine.files.PutFolder(target);
  for (const auto& entry : std::filesystem::directory_iterator(from)) {
    const std::wstring inside = target + L"\\" + entry.path().filename().wstring();
    if (entry.is_symlink()) continue;
    if (entry.is_directory()) {
      CopyIntoMachine(machine, entry.path(), inside);
    } else if (entry.is_regular_file()) {
      machine.files.PutFile(inside, FixtureText(entry.path()));
    }
  }
}

int CopyChangesOut(const sim::SimMachine& machine, const std::wstring& source, const std::filesystem::path& to) {
  int written = 0;
  for (const std::wstring& name : machine.files.ListNames(source)) {
    const std::wstring inside = source + L"\\" + name;
    const std::filesystem::path outside = to / name;
    if (machine.files.IsFolder(inside)) {
      std::filesystem::create_directories(outside);
      written += CopyChangesOut(machine, inside, outside);
      continue;
    }
    const std::optional<std::string> bytes = machine.files.FileText(inside);
    if (!bytes || (std::filesystem::is_regular_file(outside) && FixtureText(outside) == *bytes)) continue;
    std::ofstream(outside, std::ios::binary | std::ios::trunc) << *bytes;
    ++written;
  }
  return written;
}

}  // namespace orvix::testing
