#include "platform/protected_locations.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

// The special folders, in the order the list keeps them (CSIDL_LOCAL_APPDATA
// and CSIDL_PROGRAM_FILES_COMMON appear twice, as they always have).
constexpr std::array<int, 32> kSpecialFolders = {
    CSIDL_INTERNET_CACHE, CSIDL_COOKIES,          CSIDL_HISTORY,              CSIDL_RECENT,
    CSIDL_DESKTOPDIRECTORY, CSIDL_APPDATA,        CSIDL_PROGRAMS,             CSIDL_FAVORITES,
    CSIDL_STARTUP,        CSIDL_LOCAL_APPDATA,    CSIDL_PROGRAM_FILES,        CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROFILE,        CSIDL_STARTMENU,        CSIDL_COMMON_APPDATA,       CSIDL_LOCAL_APPDATA,
    CSIDL_FONTS,          CSIDL_TEMPLATES,        CSIDL_NETHOOD,              CSIDL_SENDTO,
    CSIDL_MYMUSIC,        CSIDL_MYVIDEO,          CSIDL_PRINTHOOD,            CSIDL_MYPICTURES,
    CSIDL_SYSTEMX86,      CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_ADMINTOOLS,     CSIDL_RESOURCES,        CSIDL_CDBURN_AREA,          CSIDL_PERSONAL};

// Folders the list above leaves out although no program owns them: the
// all-users counterparts of the user's folders.
constexpr std::array<int, 7> kCommonFolders = {
    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS,  CSIDL_COMMON_STARTUP,
    CSIDL_COMMON_DOCUMENTS,        CSIDL_COMMON_FAVORITES, CSIDL_COMMON_TEMPLATES};

// The user's folders that have no CSIDL, by known-folder id: Downloads,
// Saved Games, Links, Contacts, Searches, LocalLow, OneDrive, the per-user
// Programs folder, and the public profile with its folders.
constexpr const wchar_t* kKnownUserFolders[] = {
    L"{374DE290-123F-4565-9164-39C4925E467B}", L"{4C5C32FF-BB9D-43B0-B5B4-2D72E54EAAA4}",
    L"{BFB9D5E0-C6A9-404C-B2B2-AE6DB6AF4968}", L"{56784854-C6CB-462B-8169-88E350ACB882}",
    L"{7D1D3A04-DEBB-4115-95CF-2F29DA2920DA}", L"{A520A1A4-1780-4FF6-BD18-167343C5AF16}",
    L"{A52BBA46-E9E1-435F-B3D9-28DAA648C0F6}", L"{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}",
    L"{DFDF76A2-C82A-4D63-906A-5644AC457385}", L"{3D644C9B-1FB8-4F30-9B45-F670235F79C0}",
    L"{3214FAB5-9757-4298-BB61-92A9DEAA44FF}", L"{B6EBFB86-6907-413C-9AF7-4FC2ABF07CC5}",
    L"{2400183A-6185-49FB-A2D8-4A392A602BA3}"};

constexpr wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// Trimmed, lower case, trailing backslash; empty stays empty.
std::wstring ListForm(const std::wstring& folder) {
  std::wstring text = LowerCase(Trim(folder));
  if (text.empty()) return text;
  if (text.back() != L'\\') text += L'\\';
  return text;
}

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::vector<std::wstring> SplitElements(std::wstring_view text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(L'\\', start), text.size());
    if (end > start) parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::wstring CanonicalFolder(const std::wstring& path) {
  std::wstring text = Trim(path);
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (StartsWithText(text, L"\\\\?\\UNC\\")) {
    text = L"\\\\" + text.substr(8);
  } else if (text.starts_with(L"\\\\?\\")) {
    text = text.substr(4);
  }

  std::wstring root;
  std::vector<std::wstring> elements;
  if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == L':') {
    root = text.substr(0, 2) + L"\\";
    elements = SplitElements(std::wstring_view(text).substr(2));
  } else if (text.starts_with(L"\\\\")) {
    elements = SplitElements(std::wstring_view(text).substr(2));
    if (elements.size() < 2) return elements.empty() ? L"" : LowerCase(L"\\\\" + elements[0] + L"\\");
    root = L"\\\\" + elements[0] + L"\\" + elements[1] + L"\\";
    elements.erase(elements.begin(), elements.begin() + 2);
  } else {
    return {};
  }

  std::vector<std::wstring> kept;
  for (const std::wstring& element : elements) {
    if (element == L".") continue;
    if (element == L"..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(element);
  }
  std::wstring folder = root;
  for (const std::wstring& element : kept) folder += element + L"\\";

  // Short (8.3) names name the same folder as their long form.
  if (folder.find(L'~') != std::wstring::npos) {
    std::wstring longPath;
    const std::wstring bare = kept.empty() ? folder : folder.substr(0, folder.size() - 1);
    if (CurrentPlatform().Files().GetLongPathName(bare, &longPath) == ERROR_SUCCESS && !longPath.empty()) {
      folder = longPath;
      if (folder.back() != L'\\') folder += L'\\';
    }
  }
  return LowerCase(folder);
}

std::vector<std::wstring> FolderForms(const std::wstring& path) {
  std::vector<std::wstring> forms;
  const std::wstring written = CanonicalFolder(path);
  if (written.empty()) return forms;
  forms.push_back(written);
  const std::wstring resolved = CanonicalFolder(ResolvedPath(written));
  if (!resolved.empty() && resolved != written) forms.push_back(resolved);
  return forms;
}

TProtectedLocations::TProtectedLocations() {
  IFileSystem& files = CurrentPlatform().Files();
  IShellApi& shell = CurrentPlatform().Shell();

  for (const std::wstring& root : files.GetLogicalDrives()) {
    if (root.empty()) continue;
    const wchar_t letter = UpperChar(root[0]);
    if (letter == L'A' || letter == L'B') continue;
    VolumeInfo volume;
    DiskSpace space;
    if (files.GetVolumeInformation(root, &volume) != ERROR_SUCCESS) continue;
    if (files.GetDiskFreeSpace(root, &space) != ERROR_SUCCESS) continue;
    const DWORD type = files.GetDriveType(root.substr(0, 2));
    if (type == DRIVE_FIXED || type == DRIVE_REMOVABLE) entries_.push_back(ListForm(root.substr(0, 2) + L"\\"));
  }

  windowsFolder_ = ListForm(shell.GetWindowsDirectory());
  entries_.push_back(windowsFolder_.empty() ? L"" : windowsFolder_ + L"installer\\");
  entries_.push_back(L".\\");
  entries_.push_back(windowsFolder_);
  entries_.push_back(ListForm(shell.GetSystemDirectory()));
  entries_.push_back(ListForm(shell.GetTempPath()));
  for (const int csidl : kSpecialFolders) entries_.push_back(ListForm(shell.GetSpecialFolder(csidl)));
  const std::wstring systemDrive = shell.GetEnvironmentVariable(L"SYSTEMDRIVE").value_or(L"");
  entries_.push_back(systemDrive.empty() ? L"" : ListForm(systemDrive + L"\\WINDOWS\\SysWOW64"));

  // Beyond the classic list: the 64-bit Program Files folders, which a
  // 32-bit program learns only from the environment, and the all-users folders.
  for (const wchar_t* variable : {L"ProgramW6432", L"CommonProgramW6432"}) {
    entries_.push_back(ListForm(shell.GetEnvironmentVariable(variable).value_or(L"")));
  }
  for (const int csidl : kCommonFolders) entries_.push_back(ListForm(shell.GetSpecialFolder(csidl)));
  for (const wchar_t* id : kKnownUserFolders) entries_.push_back(ListForm(shell.GetKnownFolderPath(id)));
  AddOtherProfiles();
  windowsFolder_ = CanonicalFolder(windowsFolder_);

  // Each location as written and where it really is: a folder reached
  // through a junction or link is the same folder.
  for (const std::wstring& entry : entries_) {
    for (const std::wstring& form : FolderForms(entry)) canonical_.push_back(form);
  }
}

// Every other user of the machine has the same folders in his own profile,
// where this user's profile has them.
void TProtectedLocations::AddOtherProfiles() {
  const std::wstring own = ListForm(CurrentPlatform().Shell().GetSpecialFolder(CSIDL_PROFILE));
  if (own.empty()) return;
  std::vector<std::wstring> inOwnProfile;
  for (const std::wstring& entry : entries_) {
    if (entry.starts_with(own)) inOwnProfile.push_back(entry.substr(own.size()));
  }
  std::vector<std::wstring> users;
  try {
    TRegistry list(KEY_READ | (IsWow64() ? KEY_WOW64_64KEY : 0));
    list.SetRootKey(HKEY_LOCAL_MACHINE);
    if (list.OpenKeyReadOnly(kProfileList)) list.GetKeyNames(users);
  } catch (const std::exception&) {
    return;
  }
  for (const std::wstring& sid : users) {
    const std::wstring image =
        RegReadStringAt(L"HKEY_LOCAL_MACHINE", std::wstring(kProfileList) + L"\\" + sid, L"ProfileImagePath", IsWow64());
    const std::wstring profile = ListForm(CurrentPlatform().Shell().ExpandEnvironmentStrings(image));
    if (profile.empty() || CanonicalFolder(profile) == CanonicalFolder(own)) continue;
    entries_.push_back(profile);
    for (const std::wstring& below : inOwnProfile) entries_.push_back(profile + below);
  }
}

bool TProtectedLocations::IsProtected(const std::wstring& path) const {
  const std::wstring trimmed = Trim(path);
  if (trimmed.empty()) return false;
  const std::wstring listed = ListForm(trimmed);
  if (std::find(entries_.begin(), entries_.end(), listed) != entries_.end()) return true;

  // A relative text names no folder of this machine: no forms, not protected.
  for (const std::wstring& folder : FolderForms(trimmed)) {
    const std::size_t elements = std::count(folder.begin(), folder.end(), L'\\');
    const bool share = folder.starts_with(L"\\\\");
    if (elements <= (share ? 4u : 1u)) return true;  // a drive or share root
    if (!windowsFolder_.empty() && folder.starts_with(windowsFolder_)) return true;
    for (const std::wstring& entry : canonical_) {
      if (entry.starts_with(folder)) return true;  // the folder itself, or one that holds it
    }
  }
  return false;
}

bool TProtectedLocations::IsListed(const std::wstring& path) const {
  const std::wstring folder = CanonicalFolder(path);
  return !folder.empty() && std::find(canonical_.begin(), canonical_.end(), folder) != canonical_.end();
}

std::shared_ptr<const TProtectedLocations> MachineProtectedLocations() {
  static std::mutex mutex;
  static std::uint64_t generation = 0;
  static std::shared_ptr<const TProtectedLocations> locations;
  const std::lock_guard lock(mutex);
  if (locations == nullptr || generation != PlatformGeneration()) {
    generation = PlatformGeneration();
    locations = std::make_shared<const TProtectedLocations>();
  }
  return locations;
}

}  // namespace orvix
