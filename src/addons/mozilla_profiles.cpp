#include "addons/mozilla_profiles.h"

#include <algorithm>

#include "addons/browser_paths.h"
#include "addons/browser_text_file.h"
#include "formats/ini_text.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

struct ProfileSection {
  std::wstring path;  // as written, backslashes
  bool relative = false;
  bool isDefault = false;
  bool isFirst = false;  // "Profile0"
};

std::wstring Resolve(const std::wstring& path, bool relative, const std::wstring& mozillaDir) {
  return WithTrailingBackslash(relative ? mozillaDir + path : path);
}

}  // namespace

std::vector<std::wstring> MozillaProfileCandidates(std::wstring_view iniText, const std::wstring& mozillaDir) {
  const IniText ini(iniText);
  std::vector<ProfileSection> profiles;
  std::vector<std::wstring> installDefaults;
  for (const std::wstring& section : ini.SectionNames()) {
    if (StartsWithText(section, L"Install")) {
      const std::wstring path = SingleBackslashPath(ini.ReadString(section, L"Default", L""));
      if (!path.empty()) installDefaults.push_back(path);
    } else if (StartsWithText(section, L"Profile")) {
      ProfileSection profile;
      profile.path = SingleBackslashPath(ini.ReadString(section, L"Path", L""));
      if (profile.path.empty()) continue;
      profile.relative = ini.ReadInt(section, L"IsRelative", 0) == 1;
      profile.isDefault = ini.ReadInt(section, L"Default", 0) == 1;
      profile.isFirst = SameText(section, L"Profile0");
      profiles.push_back(std::move(profile));
    }
  }

  std::vector<std::wstring> candidates;
  const auto add = [&candidates](std::wstring folder) {
    for (const std::wstring& known : candidates) {
      if (SameText(known, folder)) return;
    }
    candidates.push_back(std::move(folder));
  };
  for (const std::wstring& path : installDefaults) {
    // An installation names a profile by the path its section gives; a path
    // no section gives is relative unless it is plainly absolute.
    const auto named = std::find_if(profiles.begin(), profiles.end(),
                                    [&path](const ProfileSection& p) { return SameText(p.path, path); });
    add(named != profiles.end() ? Resolve(named->path, named->relative, mozillaDir)
                                : Resolve(path, !IsRootedPath(path), mozillaDir));
  }
  for (const ProfileSection& p : profiles) {
    if (p.isDefault) add(Resolve(p.path, p.relative, mozillaDir));
  }
  for (const ProfileSection& p : profiles) {
    if (p.isFirst) add(Resolve(p.path, p.relative, mozillaDir));
  }
  for (const ProfileSection& p : profiles) add(Resolve(p.path, p.relative, mozillaDir));
  return candidates;
}

std::wstring FindMozillaProfile(const std::wstring& mozillaDir) {
  TBrowserTextFile ini;
  if (!ReadBrowserTextFile(mozillaDir + L"profiles.ini", ini)) return {};
  for (const std::wstring& folder : MozillaProfileCandidates(ini.text, mozillaDir)) {
    if (DirectoryExists(folder)) return folder;
  }
  return {};
}

}  // namespace orvix
