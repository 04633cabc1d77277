#include "machine_snapshot.h"

#include <algorithm>
#include <iterator>
#include <sstream>
#include <vector>

#include "test_text.h"

namespace orvix::testing {
namespace {

// FNV-1a: files of any content stay on one line, and any changed byte shows.
std::uint64_t Fingerprint(const Bytes& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

void AddKey(const sim::SimRegistry& registry, const std::wstring& path, std::ostringstream& text) {
  text << "key " << Narrow(path) << "\n";
  for (const sim::SimRegValue& value : registry.Values(path)) {
    text << "  value \"" << Narrow(value.name) << "\" type " << value.type << " data";
    for (const std::uint8_t byte : value.data) text << ' ' << static_cast<int>(byte);
    text << "\n";
  }
  for (const std::wstring& name : registry.SubKeyNames(path)) AddKey(registry, path + L"\\" + name, text);
}

// Links are listed with their target and never followed.
void AddFolder(const sim::SimFileSystem& files, const std::wstring& folder, std::ostringstream& text) {
  for (const std::wstring& name : files.ListNames(folder)) {
    const std::wstring path = folder + name;
    const std::optional<FileAttributeData> data = files.Attributes(path);
    if (!data) continue;
    text << Narrow(path) << " attributes " << data->attributes << " written " << data->lastWriteTime;
    if ((data->attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      text << " link\n";
    } else if ((data->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      text << "\n";
      AddFolder(files, path + L"\\", text);
    } else {
      const std::optional<Bytes> bytes = files.FileBytes(path);
      text << " bytes " << (bytes ? bytes->size() : 0) << " fnv " << Fingerprint(bytes ? *bytes : Bytes()) << "\n";
    }
  }
}

}  // namespace

std::string MachineSnapshot(sim::SimMachine& machine) {
  std::ostringstream text;
  for (const wchar_t* hive : {L"HKEY_LOCAL_MACHINE", L"HKEY_USERS"}) AddKey(machine.registry, hive, text);
  for (const std::wstring& root : machine.files.GetLogicalDrives()) AddFolder(machine.files, root, text);
  for (const sim::PendingMove& move : machine.files.PendingDeletes())
    text << "at restart " << Narrow(move.from) << " -> " << Narrow(move.to) << " flags " << move.flags << "\n";
  return text.str();
}

std::string SnapshotChanges(const std::string& before, const std::string& after) {
  auto sortedLines = [](const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  const std::vector<std::string> old = sortedLines(before);
  const std::vector<std::string> now = sortedLines(after);
  std::vector<std::string> gone;
  std::vector<std::string> added;
  std::set_difference(old.begin(), old.end(), now.begin(), now.end(), std::back_inserter(gone));
  std::set_difference(now.begin(), now.end(), old.begin(), old.end(), std::back_inserter(added));
  std::string changes;
  for (const std::string& line : gone) changes += "- " + line + "\n";
  for (const std::string& line : added) changes += "+ " + line + "\n";
  return changes;
}

}  // namespace orvix::testing
