#include "platform/sim/sim_version.h"

#include <sstream>

namespace orvix::sim {
namespace {

std::uint64_t ParseFixedVersion(const std::wstring& text) {
  std::wistringstream in(text);
  std::uint64_t result = 0;
  for (int part = 0; part < 4; ++part) {
    unsigned value = 0;
    if (!(in >> value)) break;
    result |= static_cast<std::uint64_t>(value & 0xFFFF) << (48 - 16 * part);
    if (in.peek() != L'.') break;
    in.get();
  }
  return result;
}

}  // namespace

bool SimVersions::GetVersionResource(const std::wstring& path, VersionResource* resource) {
  const auto it = resources_.find(path);
  if (it == resources_.end()) return false;
  *resource = it->second;
  return true;
}

std::wstring SimVersions::GetSignerName(const std::wstring& path) {
  const auto it = signers_.find(path);
  return it == signers_.end() ? std::wstring() : it->second;
}

void SimVersions::AttachStrings(const std::wstring& path, const std::map<std::wstring, std::wstring>& strings) {
  VersionResource resource;
  resource.translations.emplace_back(0x0409, 0x04B0);
  for (const auto& [name, value] : strings) resource.strings[L"040904B0\\" + name] = value;
  if (const auto version = strings.find(L"FileVersion"); version != strings.end())
    resource.fixedFileVersion = ParseFixedVersion(version->second);
  Attach(path, std::move(resource));
}

}  // namespace orvix::sim
