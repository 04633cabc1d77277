#include "platform/sim/sim_shell.h"

#include <utility>

#include "formats/shell_link.h"

namespace orvix::sim {
namespace {

constexpr const wchar_t* kComputerName = L"ORVIX-PC";
constexpr const wchar_t* kNativeProgramFiles = L"C:\\Program Files";

// A junction Vista and later keep for programs written for XP's layout.
struct CompatibilityLink {
  std::wstring path;
  std::wstring target;
  DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
};

// Where everything is on one kind of machine, as a 32-bit program sees it.
struct Layout {
  std::wstring windows;
  std::wstring profile;
  std::wstring allUsers;  // ALLUSERSPROFILE
  std::wstring temp;      // long form
  std::map<int, std::wstring> folders;
  std::vector<std::wstring> hidden;  // folders Windows creates hidden
  std::vector<CompatibilityLink> links;
};

void AddXpFolders(Layout& l, const std::wstring& user) {
  const std::wstring root = L"C:\\Documents and Settings";
  l.profile = root + L"\\" + user;
  l.allUsers = root + L"\\All Users";
  const std::wstring& p = l.profile;
  const std::wstring& all = l.allUsers;
  const std::wstring settings = p + L"\\Local Settings";
  const std::wstring local = settings + L"\\Application Data";
  const std::wstring programs = p + L"\\Start Menu\\Programs";
  const std::wstring commonPrograms = all + L"\\Start Menu\\Programs";
  const std::wstring documents = p + L"\\My Documents";
  const std::wstring commonDocuments = all + L"\\Documents";
  l.temp = settings + L"\\Temp";
  l.hidden = {settings, p + L"\\Application Data", all + L"\\Application Data"};
  l.folders.insert({
      {CSIDL_PROFILE, p},
      {CSIDL_DESKTOPDIRECTORY, p + L"\\Desktop"},
      {CSIDL_PERSONAL, documents},
      {CSIDL_MYMUSIC, documents + L"\\My Music"},
      {CSIDL_MYPICTURES, documents + L"\\My Pictures"},
      {CSIDL_MYVIDEO, documents + L"\\My Videos"},
      {CSIDL_FAVORITES, p + L"\\Favorites"},
      {CSIDL_STARTMENU, p + L"\\Start Menu"},
      {CSIDL_PROGRAMS, programs},
      {CSIDL_STARTUP, programs + L"\\Startup"},
      {CSIDL_ADMINTOOLS, programs + L"\\Administrative Tools"},
      {CSIDL_RECENT, p + L"\\Recent"},
      {CSIDL_SENDTO, p + L"\\SendTo"},
      {CSIDL_NETHOOD, p + L"\\NetHood"},
      {CSIDL_PRINTHOOD, p + L"\\PrintHood"},
      {CSIDL_TEMPLATES, p + L"\\Templates"},
      {CSIDL_COOKIES, p + L"\\Cookies"},
      {CSIDL_APPDATA, p + L"\\Application Data"},
      {CSIDL_LOCAL_APPDATA, local},
      {CSIDL_INTERNET_CACHE, settings + L"\\Temporary Internet Files"},
      {CSIDL_HISTORY, settings + L"\\History"},
      {CSIDL_CDBURN_AREA, local + L"\\Microsoft\\CD Burning"},
      {CSIDL_COMMON_APPDATA, all + L"\\Application Data"},
      {CSIDL_COMMON_DESKTOPDIRECTORY, all + L"\\Desktop"},
      {CSIDL_COMMON_STARTMENU, all + L"\\Start Menu"},
      {CSIDL_COMMON_PROGRAMS, commonPrograms},
      {CSIDL_COMMON_STARTUP, commonPrograms + L"\\Startup"},
      {CSIDL_COMMON_ADMINTOOLS, commonPrograms + L"\\Administrative Tools"},
      {CSIDL_COMMON_FAVORITES, all + L"\\Favorites"},
      {CSIDL_COMMON_TEMPLATES, all + L"\\Templates"},
      {CSIDL_COMMON_DOCUMENTS, commonDocuments},
      {CSIDL_COMMON_MUSIC, commonDocuments + L"\\My Music"},
      {CSIDL_COMMON_PICTURES, commonDocuments + L"\\My Pictures"},
      {CSIDL_COMMON_VIDEO, commonDocuments + L"\\My Videos"},
  });
}

// Vista and later; 8.1 moved the Internet cache and cookies to INetCache
// and INetCookies.
void AddUsersFolders(Layout& l, const std::wstring& user, bool inetFolders) {
  const std::wstring users = L"C:\\Users";
  l.profile = users + L"\\" + user;
  l.allUsers = L"C:\\ProgramData";
  const std::wstring& p = l.profile;
  const std::wstring& data = l.allUsers;
  const std::wstring publicProfile = users + L"\\Public";
  const std::wstring appData = p + L"\\AppData";
  const std::wstring roaming = appData + L"\\Roaming";
  const std::wstring local = appData + L"\\Local";
  const std::wstring windowsRoaming = roaming + L"\\Microsoft\\Windows";
  const std::wstring windowsLocal = local + L"\\Microsoft\\Windows";
  const std::wstring programs = windowsRoaming + L"\\Start Menu\\Programs";
  const std::wstring commonStartMenu = data + L"\\Microsoft\\Windows\\Start Menu";
  l.temp = local + L"\\Temp";
  l.hidden = {appData, data};
  l.links = {
      {L"C:\\Documents and Settings", users},
      {users + L"\\All Users", data, IO_REPARSE_TAG_SYMLINK},
      {data + L"\\Application Data", data},
      {p + L"\\Application Data", roaming},
      {p + L"\\Local Settings", local},
      {p + L"\\My Documents", p + L"\\Documents"},
      {local + L"\\Application Data", local},
  };
  l.folders.insert({
      {CSIDL_PROFILE, p},
      {CSIDL_DESKTOPDIRECTORY, p + L"\\Desktop"},
      {CSIDL_PERSONAL, p + L"\\Documents"},
      {CSIDL_MYMUSIC, p + L"\\Music"},
      {CSIDL_MYPICTURES, p + L"\\Pictures"},
      {CSIDL_MYVIDEO, p + L"\\Videos"},
      {CSIDL_FAVORITES, p + L"\\Favorites"},
      {CSIDL_STARTMENU, windowsRoaming + L"\\Start Menu"},
      {CSIDL_PROGRAMS, programs},
      {CSIDL_STARTUP, programs + L"\\Startup"},
      {CSIDL_ADMINTOOLS, programs + L"\\Administrative Tools"},
      {CSIDL_RECENT, windowsRoaming + L"\\Recent"},
      {CSIDL_SENDTO, windowsRoaming + L"\\SendTo"},
      {CSIDL_NETHOOD, windowsRoaming + L"\\Network Shortcuts"},
      {CSIDL_PRINTHOOD, windowsRoaming + L"\\Printer Shortcuts"},
      {CSIDL_TEMPLATES, windowsRoaming + L"\\Templates"},
      {CSIDL_COOKIES, inetFolders ? windowsLocal + L"\\INetCookies" : windowsRoaming + L"\\Cookies"},
      {CSIDL_APPDATA, roaming},
      {CSIDL_LOCAL_APPDATA, local},
      {CSIDL_INTERNET_CACHE, windowsLocal + (inetFolders ? L"\\INetCache" : L"\\Temporary Internet Files")},
      {CSIDL_HISTORY, windowsLocal + L"\\History"},
      {CSIDL_CDBURN_AREA, windowsLocal + L"\\Burn\\Burn"},
      {CSIDL_COMMON_APPDATA, data},
      {CSIDL_COMMON_DESKTOPDIRECTORY, publicProfile + L"\\Desktop"},
      {CSIDL_COMMON_STARTMENU, commonStartMenu},
      {CSIDL_COMMON_PROGRAMS, commonStartMenu + L"\\Programs"},
      {CSIDL_COMMON_STARTUP, commonStartMenu + L"\\Programs\\StartUp"},
      {CSIDL_COMMON_ADMINTOOLS, commonStartMenu + L"\\Programs\\Administrative Tools"},
      {CSIDL_COMMON_FAVORITES, p + L"\\Favorites"},  // one Favorites folder since Vista
      {CSIDL_COMMON_TEMPLATES, data + L"\\Microsoft\\Windows\\Templates"},
      {CSIDL_COMMON_DOCUMENTS, publicProfile + L"\\Documents"},
      {CSIDL_COMMON_MUSIC, publicProfile + L"\\Music"},
      {CSIDL_COMMON_PICTURES, publicProfile + L"\\Pictures"},
      {CSIDL_COMMON_VIDEO, publicProfile + L"\\Videos"},
  });
}

Layout MakeLayout(Bitness machine, const OsVersionInfo& os, const std::wstring& user) {
  const bool x64 = machine == Bitness::x64;
  const bool xp = os.major < 6;
  Layout l;
  l.windows = xp ? L"C:\\WINDOWS" : L"C:\\Windows";
  if (xp) {
    AddXpFolders(l, user);
  } else {
    AddUsersFolders(l, user, os.major > 6 || os.minor >= 3);
  }
  // A 32-bit program is given the 32-bit Program Files folder.
  const std::wstring programFiles = x64 ? L"C:\\Program Files (x86)" : kNativeProgramFiles;
  const std::wstring& w = l.windows;
  l.folders.insert({
      {CSIDL_WINDOWS, w},
      {CSIDL_SYSTEM, w + L"\\system32"},
      {CSIDL_SYSTEMX86, x64 ? w + L"\\SysWOW64" : w + L"\\system32"},
      {CSIDL_FONTS, w + L"\\Fonts"},
      {CSIDL_RESOURCES, w + (xp ? L"\\Resources" : L"\\resources")},
      {CSIDL_PROGRAM_FILES, programFiles},
      {CSIDL_PROGRAM_FILES_COMMON, programFiles + L"\\Common Files"},
  });
  if (x64 || !xp) {  // 32-bit XP answers nothing for the "x86" folders
    l.folders[CSIDL_PROGRAM_FILESX86] = programFiles;
    l.folders[CSIDL_PROGRAM_FILES_COMMONX86] = programFiles + L"\\Common Files";
  }
  return l;
}

std::map<std::wstring, std::wstring, TextLess> MakeEnvironment(const Layout& l, Bitness machine,
                                                               const OsVersionInfo& os, const std::wstring& user) {
  const bool x64 = machine == Bitness::x64;
  const bool xp = os.major < 6;
  const std::wstring system = l.folders.at(CSIDL_SYSTEM);
  std::map<std::wstring, std::wstring, TextLess> env = {
      {L"ALLUSERSPROFILE", l.allUsers},
      {L"APPDATA", l.folders.at(CSIDL_APPDATA)},
      {L"CommonProgramFiles", l.folders.at(CSIDL_PROGRAM_FILES_COMMON)},
      {L"COMPUTERNAME", kComputerName},
      {L"ComSpec", system + L"\\cmd.exe"},
      {L"HOMEDRIVE", L"C:"},
      {L"HOMEPATH", l.profile.substr(2)},
      {L"NUMBER_OF_PROCESSORS", L"2"},
      {L"OS", L"Windows_NT"},
      {L"Path", system + L";" + l.windows + L";" + system + L"\\Wbem"},
      {L"PATHEXT", xp ? L".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH"
                      : L".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"},
      {L"PROCESSOR_ARCHITECTURE", L"x86"},
      {L"ProgramFiles", l.folders.at(CSIDL_PROGRAM_FILES)},
      {L"SystemDrive", L"C:"},
      {L"SystemRoot", l.windows},
      {L"USERDOMAIN", kComputerName},
      {L"USERNAME", user},
      {L"USERPROFILE", l.profile},
      {L"windir", l.windows},
  };
  if (!xp) {
    env[L"LOCALAPPDATA"] = l.folders.at(CSIDL_LOCAL_APPDATA);
    env[L"ProgramData"] = l.allUsers;
    env[L"PUBLIC"] = L"C:\\Users\\Public";
  }
  if (x64) {
    env[L"CommonProgramFiles(x86)"] = l.folders.at(CSIDL_PROGRAM_FILES_COMMONX86);
    env[L"ProgramFiles(x86)"] = l.folders.at(CSIDL_PROGRAM_FILESX86);
    env[L"PROCESSOR_ARCHITEW6432"] = L"AMD64";
    if (os.major > 6 || (os.major == 6 && os.minor >= 1)) {
      env[L"CommonProgramW6432"] = std::wstring(kNativeProgramFiles) + L"\\Common Files";
      env[L"ProgramW6432"] = kNativeProgramFiles;
    }
  }
  return env;
}

// A known folder as the special folder with the same path (and a part
// below it). The 64-bit Program Files folders have none: Windows never tells
// them to a 32-bit program, and a 32-bit Windows has none.
constexpr int kNoFolder = -1;

struct KnownFolder {
  const wchar_t* guid;
  int csidl;
  const wchar_t* below = L"";
  bool inParent = false;  // `below` is taken in the special folder's parent
};

const KnownFolder kKnownFolders[] = {
    {L"{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", CSIDL_DESKTOPDIRECTORY},         // Desktop
    {L"{C4AA340D-F20F-4863-AFEF-F87EF2E6BA25}", CSIDL_COMMON_DESKTOPDIRECTORY},  // PublicDesktop
    {L"{625B53C3-AB48-4EC1-BA1F-A1EF4146FC19}", CSIDL_STARTMENU},                // StartMenu
    {L"{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}", CSIDL_PROGRAMS},                 // Programs
    {L"{B97D20BB-F46A-4C97-BA10-5E3608430854}", CSIDL_STARTUP},                  // Startup
    {L"{A4115719-D62E-491D-AA7C-E74B8BE3B067}", CSIDL_COMMON_STARTMENU},         // CommonStartMenu
    {L"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}", CSIDL_COMMON_PROGRAMS},          // CommonPrograms
    {L"{82A5EA35-D9CD-47C5-9629-E15D2F714E6E}", CSIDL_COMMON_STARTUP},           // CommonStartup
    {L"{5E6C858F-0E22-4760-9AFE-EA3317B67173}", CSIDL_PROFILE},                  // Profile
    {L"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", CSIDL_PERSONAL},                 // Documents
    {L"{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}", CSIDL_APPDATA},                  // RoamingAppData
    {L"{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}", CSIDL_LOCAL_APPDATA},            // LocalAppData
    {L"{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}", CSIDL_LOCAL_APPDATA, L"\\Programs"},  // UserProgramFiles
    {L"{62AB5D82-FDC1-4DC3-A9DD-070D1D495D97}", CSIDL_COMMON_APPDATA},           // ProgramData
    {L"{F38BF404-1D43-42F2-9305-67DE0B28FC23}", CSIDL_WINDOWS},                  // Windows
    {L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}", CSIDL_SYSTEM},                   // System
    {L"{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}", CSIDL_SYSTEMX86},                // SystemX86
    {L"{905E63B6-C1BF-494E-B29C-65B732D3D21A}", CSIDL_PROGRAM_FILES},            // ProgramFiles
    {L"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}", CSIDL_PROGRAM_FILESX86},         // ProgramFilesX86
    {L"{6D809377-6AF0-444B-8957-A3773F02200E}", kNoFolder},                      // ProgramFilesX64
    {L"{F7F1ED05-9F6D-47A2-AAAE-29D317C6F066}", CSIDL_PROGRAM_FILES_COMMON},     // ProgramFilesCommon
    {L"{DE974D24-D9C6-4D3E-BF91-F4455120B917}", CSIDL_PROGRAM_FILES_COMMONX86},  // ProgramFilesCommonX86
    {L"{6365D5A7-0F0D-45E5-87F6-0DA56B6A4F7D}", kNoFolder},                      // ProgramFilesCommonX64
    // The user's folders that came without a CSIDL of their own.
    {L"{374DE290-123F-4565-9164-39C4925E467B}", CSIDL_PROFILE, L"\\Downloads"},            // Downloads
    {L"{4C5C32FF-BB9D-43B0-B5B4-2D72E54EAAA4}", CSIDL_PROFILE, L"\\Saved Games"},          // SavedGames
    {L"{BFB9D5E0-C6A9-404C-B2B2-AE6DB6AF4968}", CSIDL_PROFILE, L"\\Links"},                // Links
    {L"{56784854-C6CB-462B-8169-88E350ACB882}", CSIDL_PROFILE, L"\\Contacts"},             // Contacts
    {L"{7D1D3A04-DEBB-4115-95CF-2F29DA2920DA}", CSIDL_PROFILE, L"\\Searches"},             // SavedSearches
    {L"{A520A1A4-1780-4FF6-BD18-167343C5AF16}", CSIDL_PROFILE, L"\\AppData\\LocalLow"},    // LocalAppDataLow
    {L"{A52BBA46-E9E1-435F-B3D9-28DAA648C0F6}", kNoFolder},                                // SkyDrive (not set up)
    {L"{4BD8D571-6D19-48D3-BE97-422220080E43}", CSIDL_MYMUSIC},                            // Music
    {L"{33E28130-4E1E-4676-835A-98395C3BC3BB}", CSIDL_MYPICTURES},                         // Pictures
    {L"{18989B1D-99B5-455B-841C-AB7C74E4DDFC}", CSIDL_MYVIDEO},                            // Videos
    {L"{1777F761-68AD-4D8A-87BD-30B759FA33DD}", CSIDL_FAVORITES},                          // Favorites
    {L"{A63293E8-664E-48DB-A079-DF759E0509F7}", CSIDL_TEMPLATES},                          // Templates
    {L"{DFDF76A2-C82A-4D63-906A-5644AC457385}", CSIDL_COMMON_DOCUMENTS, L"", true},        // Public
    {L"{3D644C9B-1FB8-4F30-9B45-F670235F79C0}", CSIDL_COMMON_DOCUMENTS, L"\\Downloads", true},  // PublicDownloads
    {L"{ED4824AF-DCE4-45A8-81E2-FC7965083634}", CSIDL_COMMON_DOCUMENTS},                   // PublicDocuments
    {L"{3214FAB5-9757-4298-BB61-92A9DEAA44FF}", CSIDL_COMMON_MUSIC},                       // PublicMusic
    {L"{B6EBFB86-6907-413C-9AF7-4FC2ABF07CC5}", CSIDL_COMMON_PICTURES},                    // PublicPictures
    {L"{2400183A-6185-49FB-A2D8-4A392A602BA3}", CSIDL_COMMON_VIDEO},                       // PublicVideos
};

void PutStrings(SimRegistry& registry, const std::wstring& key,
                const std::vector<std::pair<const wchar_t*, std::wstring>>& values) {
  for (const auto& [name, value] : values) {
    if (!value.empty()) registry.PutString(key, name, value);
  }
}

}  // namespace

SimShell::SimShell(SimFileSystem& files, Bitness machine, const OsVersionInfo& os, const std::wstring& userName)
    : files_(files), machine_(machine), os_(os) {
  const Layout layout = MakeLayout(machine, os, userName);
  windowsDir_ = layout.windows;
  folders_ = layout.folders;
  environment_ = MakeEnvironment(layout, machine, os, userName);

  files.SetWindowsDirectory(windowsDir_);
  for (const auto& [csidl, path] : folders_) files.PutFolder(path);
  for (const std::wstring& path : layout.hidden) files.PutFolder(path, FILE_ATTRIBUTE_HIDDEN);
  for (const KnownFolder& known : kKnownFolders) {
    const std::wstring path = GetKnownFolderPath(known.guid);
    if (!path.empty() && !files.Exists(path)) files.PutFolder(path);
  }
  files.PutFolder(windowsDir_ + L"\\system32\\drivers\\etc");
  files.PutFolder(windowsDir_ + L"\\Temp");
  files.PutFolder(windowsDir_ + L"\\Installer", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  files.PutFolder(std::wstring(kNativeProgramFiles) + L"\\Common Files");
  files.PutFolder(layout.temp);
  for (const CompatibilityLink& link : layout.links) {
    files.MakeJunction(link.path, link.target, link.tag, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    files.DenyListing(link.path);
  }

  std::wstring temp = layout.temp;
  if (os.major < 6) files.GetShortPathName(layout.temp, &temp);  // XP: C:\DOCUME~1\<user>\LOCALS~1\Temp
  environment_[L"TEMP"] = environment_[L"TMP"] = temp;
  moduleFileName_ = folders_.at(CSIDL_PROGRAM_FILES) + L"\\Orvix Uninstaller\\OrvixUninstaller.exe";
}

std::wstring SimShell::GetWindowsDirectory() {
  std::lock_guard lock(mutex_);
  return windowsDir_;
}

std::wstring SimShell::GetSystemDirectory() {
  std::lock_guard lock(mutex_);
  return windowsDir_ + L"\\system32";
}

std::wstring SimShell::GetTempPath() {
  std::lock_guard lock(mutex_);
  std::wstring path = windowsDir_;
  for (const wchar_t* name : {L"TMP", L"TEMP", L"USERPROFILE"}) {
    const auto it = environment_.find(std::wstring_view(name));
    if (it != environment_.end() && !it->second.empty()) {
      path = it->second;
      break;
    }
  }
  if (path.back() != L'\\') path += L'\\';
  return path;
}

std::wstring SimShell::GetSpecialFolder(int csidl) {
  std::lock_guard lock(mutex_);
  const auto it = folders_.find(csidl & 0xFF);  // without CSIDL_FLAG_* bits
  return it == folders_.end() ? std::wstring{} : it->second;
}

std::wstring SimShell::GetKnownFolderPath(const std::wstring& guid) {
  if (os_.major < 6) return {};  // SHGetKnownFolderPath came with Vista
  for (const KnownFolder& known : kKnownFolders) {
    if (!SameText(guid, known.guid)) continue;
    if (known.csidl == kNoFolder) return {};
    std::wstring folder = GetSpecialFolder(known.csidl);
    if (known.inParent) folder.resize(std::min(folder.size(), folder.rfind(L'\\')));
    return folder.empty() ? folder : folder + known.below;
  }
  return {};
}

std::wstring SimShell::GetModuleFileName() {
  std::lock_guard lock(mutex_);
  return moduleFileName_;
}

std::optional<std::wstring> SimShell::GetEnvironmentVariable(const std::wstring& name) {
  std::lock_guard lock(mutex_);
  const auto it = environment_.find(name);
  if (it == environment_.end()) return std::nullopt;
  return it->second;
}

// As Windows does it: a "%" that does not open a known variable is copied
// and the scan goes on right after it, so the closing "%" of an unknown
// name may open the next one ("%X%TEMP%" keeps "%X" and expands TEMP).
std::wstring SimShell::ExpandEnvironmentStrings(const std::wstring& text) {
  std::lock_guard lock(mutex_);
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L'%') {
      const std::size_t close = text.find(L'%', i + 1);
      if (close != std::wstring::npos) {
        const auto it = environment_.find(std::wstring_view(text).substr(i + 1, close - i - 1));
        if (it != environment_.end()) {
          out += it->second;
          i = close + 1;
          continue;
        }
      }
    }
    out += text[i++];
  }
  return out;
}

std::wstring SimShell::GetShortcutPath(const std::wstring& shortcut) {
  const std::optional<Bytes> bytes = files_.FileBytes(shortcut);
  if (!bytes) return L"";
  const auto link = ParseShellLink(bytes->data(), bytes->size());
  if (!link) return L"";
  std::wstring path = link->TargetPath();
  if (path.empty() && !link->EnvironmentTarget.empty()) path = ExpandEnvironmentStrings(link->EnvironmentTarget);
  constexpr std::size_t kGetPathChars = 259;  // MAX_PATH with its terminating zero
  if (path.size() > kGetPathChars) path.resize(kGetPathChars);
  return path;
}

bool SimShell::ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                            const std::wstring& directory, int show) {
  std::lock_guard lock(mutex_);
  requests_.push_back({verb, file, parameters, directory, show, files_.RedirectionOffOnThisThread()});
  return accept_;
}

void SimShell::SetEnvironmentVariable(const std::wstring& name, const std::wstring& value) {
  std::lock_guard lock(mutex_);
  environment_[name] = value;
}

void SimShell::RemoveEnvironmentVariable(const std::wstring& name) {
  std::lock_guard lock(mutex_);
  environment_.erase(name);
}

void SimShell::SetSpecialFolder(int csidl, const std::wstring& path) {
  std::lock_guard lock(mutex_);
  folders_[csidl] = path;
}

void SimShell::SetModuleFileName(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  moduleFileName_ = path;
}

void SimShell::SetShellExecuteResult(bool accepted) {
  std::lock_guard lock(mutex_);
  accept_ = accepted;
}

std::vector<ShellRequest> SimShell::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void SimShell::WriteRegistryFolders(SimRegistry& registry) const {
  std::lock_guard lock(mutex_);
  auto folder = [&](int csidl) {
    const auto it = folders_.find(csidl);
    return it == folders_.end() ? std::wstring{} : it->second;
  };
  PutStrings(registry, L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
             {{L"Administrative Tools", folder(CSIDL_ADMINTOOLS)},
              {L"AppData", folder(CSIDL_APPDATA)},
              {L"Cache", folder(CSIDL_INTERNET_CACHE)},
              {L"CD Burning", folder(CSIDL_CDBURN_AREA)},
              {L"Cookies", folder(CSIDL_COOKIES)},
              {L"Desktop", folder(CSIDL_DESKTOPDIRECTORY)},
              {L"Favorites", folder(CSIDL_FAVORITES)},
              {L"Fonts", folder(CSIDL_FONTS)},
              {L"History", folder(CSIDL_HISTORY)},
              {L"Local AppData", folder(CSIDL_LOCAL_APPDATA)},
              {L"My Music", folder(CSIDL_MYMUSIC)},
              {L"My Pictures", folder(CSIDL_MYPICTURES)},
              {L"My Video", folder(CSIDL_MYVIDEO)},
              {L"NetHood", folder(CSIDL_NETHOOD)},
              {L"Personal", folder(CSIDL_PERSONAL)},
              {L"PrintHood", folder(CSIDL_PRINTHOOD)},
              {L"Programs", folder(CSIDL_PROGRAMS)},
              {L"Recent", folder(CSIDL_RECENT)},
              {L"SendTo", folder(CSIDL_SENDTO)},
              {L"Start Menu", folder(CSIDL_STARTMENU)},
              {L"Startup", folder(CSIDL_STARTUP)},
              {L"Templates", folder(CSIDL_TEMPLATES)}});

  const bool x64 = machine_ == Bitness::x64;
  const std::wstring native = kNativeProgramFiles;
  const std::wstring x86 = x64 ? L"C:\\Program Files (x86)" : native;
  for (const std::wstring software : {L"HKLM\\SOFTWARE", L"HKLM\\SOFTWARE\\Wow6432Node"}) {
    const bool view32 = software.ends_with(L"Wow6432Node");
    if (view32 && !x64) continue;
    PutStrings(registry, software + L"\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               {{L"Common Administrative Tools", folder(CSIDL_COMMON_ADMINTOOLS)},
                {L"Common AppData", folder(CSIDL_COMMON_APPDATA)},
                {L"Common Desktop", folder(CSIDL_COMMON_DESKTOPDIRECTORY)},
                {L"Common Documents", folder(CSIDL_COMMON_DOCUMENTS)},
                {L"Common Favorites", folder(CSIDL_COMMON_FAVORITES)},
                {L"Common Programs", folder(CSIDL_COMMON_PROGRAMS)},
                {L"Common Start Menu", folder(CSIDL_COMMON_STARTMENU)},
                {L"Common Startup", folder(CSIDL_COMMON_STARTUP)},
                {L"Common Templates", folder(CSIDL_COMMON_TEMPLATES)},
                {L"CommonMusic", folder(CSIDL_COMMON_MUSIC)},
                {L"CommonPictures", folder(CSIDL_COMMON_PICTURES)},
                {L"CommonVideo", folder(CSIDL_COMMON_VIDEO)}});
    // Each view names its own Program Files; the 64-bit view also knows the 32-bit one.
    const std::wstring own = view32 ? x86 : native;
    PutStrings(registry, software + L"\\Microsoft\\Windows\\CurrentVersion",
               {{L"ProgramFilesDir", own},
                {L"CommonFilesDir", own + L"\\Common Files"},
                {L"ProgramFilesDir (x86)", x64 ? x86 : L""},
                {L"CommonFilesDir (x86)", x64 ? x86 + L"\\Common Files" : L""}});
  }
}

}  // namespace orvix::sim
