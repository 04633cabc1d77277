#include "platform/app_frame.h"

#include <array>

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvix {
namespace {

std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

constexpr std::array kPerUserFolders = {
    CSIDL_INTERNET_CACHE, CSIDL_COOKIES,          CSIDL_HISTORY,          CSIDL_RECENT,
    CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS,       CSIDL_FAVORITES,        CSIDL_STARTUP,
    CSIDL_PROFILE,        CSIDL_APPDATA,          CSIDL_LOCAL_APPDATA,    CSIDL_PROGRAM_FILES,
    CSIDL_PROGRAM_FILES_COMMON, CSIDL_STARTMENU,  CSIDL_COMMON_APPDATA,   CSIDL_FONTS,
    CSIDL_TEMPLATES,      CSIDL_NETHOOD,          CSIDL_SENDTO,           CSIDL_MYMUSIC,
    CSIDL_MYVIDEO,        CSIDL_PRINTHOOD,        CSIDL_MYPICTURES,       CSIDL_SYSTEMX86,
    CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_ADMINTOOLS, CSIDL_RESOURCES,
    CSIDL_CDBURN_AREA,    CSIDL_PERSONAL,
};

constexpr std::array kAllUsersFolders = {
    CSIDL_COMMON_APPDATA,   CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_FAVORITES, CSIDL_COMMON_STARTUP,          CSIDL_COMMON_TEMPLATES, CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_ADMINTOOLS, CSIDL_COMMON_MUSIC,           CSIDL_COMMON_PICTURES, CSIDL_COMMON_VIDEO,
};

template <std::size_t N>
bool Contains(const std::array<TCsidl, N>& list, int csidl) {
  for (TCsidl entry : list) {
    if (entry == csidl) return true;
  }
  return false;
}

// What one macro stands for.
enum class Source { Folder, SubFolder, Environment, Drive, ProfilesRoot, Recycle };

struct Macro {
  const wchar_t* name;
  Source source;
  int folder;                  // TFolderKind or CSIDL
  const wchar_t* suffix;       // appended to the folder (Source::SubFolder)
  int allUsers;                // CSIDL of the all-users result, or 0
  bool bare;                   // written without percent signs
};

constexpr int kNone = 0;

// Tested in this order; the first one found is the only one expanded.
constexpr Macro kMacros[] = {
    {L"%SYSDIR%", Source::Folder, fkSystem, nullptr, kNone, false},
    {L"%WINDIR%", Source::Folder, fkWindows, nullptr, kNone, false},
    {L"%DESKTOP%", Source::Folder, CSIDL_DESKTOPDIRECTORY, nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, false},
    {L"%TEMP%", Source::SubFolder, fkWindows, L"\\temp", kNone, false},
    {L"%ROOTDRIVE%", Source::Drive, fkSystem, nullptr, kNone, false},
    {L"%APPDATA%", Source::Folder, CSIDL_APPDATA, nullptr, CSIDL_COMMON_APPDATA, false},
    {L"%PROGRAMFILES%", Source::Folder, CSIDL_PROGRAM_FILES, nullptr, kNone, false},
    {L"%USERROOT%", Source::Environment, 0, L"USERPROFILE", kNone, false},
    {L"%PROGRAMS%", Source::Folder, CSIDL_PROGRAMS, nullptr, CSIDL_COMMON_STARTMENU, false},
    {L"%STARTMENU%", Source::Folder, CSIDL_STARTMENU, nullptr, CSIDL_COMMON_STARTMENU, false},
    {L"%STARTUP%", Source::Folder, CSIDL_STARTUP, nullptr, CSIDL_COMMON_STARTUP, false},
    {L"%QUICKLAUNCH%", Source::SubFolder, CSIDL_APPDATA, L"\\Microsoft\\Internet Explorer\\Quick Launch", kNone, false},
    {L"%COMMONFILES%", Source::Folder, CSIDL_PROGRAM_FILES_COMMON, nullptr, kNone, false},
    {L"%FAVORITES%", Source::Folder, CSIDL_FAVORITES, nullptr, CSIDL_COMMON_FAVORITES, false},
    {L"%DAS%", Source::ProfilesRoot, 0, nullptr, kNone, false},
    {L"%RECYCLE%", Source::Recycle, fkSystem, nullptr, kNone, false},
    {L"%WINDOWS%", Source::Folder, fkWindows, nullptr, kNone, false},
    {L"%SYSTEM%", Source::Folder, fkSystem, nullptr, kNone, false},
    {L"%COMMON_PROGRAMS%", Source::Folder, CSIDL_PROGRAM_FILES_COMMON, nullptr, kNone, false},
    {L"%COMMON_STARTMENU%", Source::Folder, CSIDL_COMMON_STARTMENU, nullptr, kNone, false},
    {L"%COMMON_DESKTOP%", Source::Folder, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, kNone, false},
    {L"%COMMON_FAVORITES%", Source::Folder, CSIDL_COMMON_FAVORITES, nullptr, kNone, false},
    {L"%COMMON_DATAPATH%", Source::Folder, CSIDL_COMMON_APPDATA, nullptr, kNone, false},
    {L"%DATAPATH%", Source::Folder, CSIDL_APPDATA, nullptr, kNone, false},
    {L"%PROGRAM_FILES%", Source::Folder, CSIDL_PROGRAM_FILES, nullptr, kNone, false},
    {L"PROGRAMFILESDIR", Source::Folder, CSIDL_PROGRAM_FILES, nullptr, kNone, true},
    {L"%SYSTEMDRIVE%", Source::Folder, fkSystem, nullptr, kNone, false},
    {L"SYSTEMROOT", Source::Folder, fkSystem, nullptr, kNone, true},
    {L"COMMONPROGRAMS", Source::Folder, CSIDL_COMMON_PROGRAMS, nullptr, kNone, true},
    {L"%DESKTOPDIRECTORY%", Source::Folder, CSIDL_DESKTOPDIRECTORY, nullptr, kNone, false},
    {L"DESKTOPDIR", Source::Folder, CSIDL_DESKTOPDIRECTORY, nullptr, kNone, true},
    {L"%COMMON_DESKTOPDIRECTORY%", Source::Folder, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, kNone, false},
    {L"STARTUPFOLDER", Source::Folder, CSIDL_STARTUP, nullptr, kNone, true},
    {L"%ALLUSERS_APPDATA%", Source::Folder, CSIDL_COMMON_APPDATA, nullptr, kNone, false},
    {L"%START_MENU%", Source::Folder, CSIDL_STARTMENU, nullptr, kNone, false},
    {L"%START_MENUALL%", Source::Folder, CSIDL_STARTMENU, nullptr, kNone, false},
    {L"%START_PROGRAMSALL%", Source::Folder, CSIDL_PROGRAM_FILES, nullptr, kNone, false},
    {L"%START_PROGRAMS%", Source::Folder, CSIDL_PROGRAM_FILES, nullptr, kNone, false},
    {L"%SYSTEMDISKROOT%", Source::Drive, fkSystem, nullptr, kNone, false},
    {L"%USERPROFILE%", Source::Environment, 0, L"USERPROFILE", kNone, false},
    {L"%DOWNLOADEDPROGRAMFILES%", Source::SubFolder, fkWindows, L"\\Downloaded Program Files", kNone, false},
    {L"%USERDOCUMENTS%", Source::ProfilesRoot, 0, nullptr, kNone, false},
    {L"%%LOCALAPPDATA%%", Source::ProfilesRoot, 0, nullptr, kNone, false},
};

// Positions of the macro in the text. A macro written without percent signs
// counts only where no percent sign touches it, so that an environment
// variable such as %SystemRoot% is not taken for it.
std::vector<std::size_t> Occurrences(const std::wstring& text, const Macro& macro) {
  std::vector<std::size_t> found;
  const std::wstring_view name(macro.name);
  for (std::size_t at = FindText(text, name); at != std::wstring::npos; at = FindText(text, name, at + name.size())) {
    const bool touched =
        macro.bare && ((at > 0 && text[at - 1] == L'%') ||
                       (at + name.size() < text.size() && text[at + name.size()] == L'%'));
    if (!touched) found.push_back(at);
  }
  return found;
}

std::wstring ReplaceAt(const std::wstring& text, const std::vector<std::size_t>& positions, std::size_t length,
                       const std::wstring& replacement) {
  std::wstring out;
  std::size_t from = 0;
  for (std::size_t at : positions) {
    out.append(text, from, at - from);
    out += replacement;
    from = at + length;
  }
  out.append(text, from, std::wstring::npos);
  return out;
}

std::wstring MacroValue(const Macro& macro, const TAppFrame& frame) {
  switch (macro.source) {
    case Source::Folder: return frame.GetFolder(macro.folder);
    case Source::SubFolder: return frame.GetFolder(macro.folder) + macro.suffix;
    case Source::Environment:
      return CurrentPlatform().Shell().GetEnvironmentVariable(macro.suffix).value_or(L"");
    case Source::Drive: return frame.GetFolder(macro.folder).substr(0, 2);
    case Source::ProfilesRoot: return frame.ProfilesRoot();
    case Source::Recycle: {
      const std::wstring root = frame.GetFolder(macro.folder).substr(0, 3);
      return root + (DirectoryExists(root + L"Recycled") ? L"Recycled" : L"Recycler");
    }
  }
  return {};
}

}  // namespace

TAppFrame::TAppFrame() {
  IShellApi& shell = CurrentPlatform().Shell();
  appData_ = WithoutTrailingBackslash(shell.GetSpecialFolder(CSIDL_APPDATA));
  commonAppData_ = WithoutTrailingBackslash(shell.GetSpecialFolder(CSIDL_COMMON_APPDATA));
  const std::wstring exe = shell.GetModuleFileName();
  programFolder_ = exe.substr(0, exe.find_last_of(L'\\') + 1);
}

std::wstring TAppFrame::GetFolder(int kind) const {
  IShellApi& shell = CurrentPlatform().Shell();
  switch (kind) {
    case fkWindows: return WithoutTrailingBackslash(shell.GetWindowsDirectory());
    case fkSystem: return WithoutTrailingBackslash(shell.GetSystemDirectory());
    case fkTemp: return WithoutTrailingBackslash(shell.GetTempPath());
    default:
      return Contains(kPerUserFolders, kind) || Contains(kAllUsersFolders, kind)
                 ? WithoutTrailingBackslash(shell.GetSpecialFolder(kind))
                 : L"";
  }
}

std::wstring TAppFrame::GetCommonFolder(int csidl) const {
  if (!Contains(kAllUsersFolders, csidl)) return {};
  return WithoutTrailingBackslash(CurrentPlatform().Shell().GetSpecialFolder(csidl));
}

std::wstring TAppFrame::ProfilesRoot() const {
  // "C:\Users\Ann\AppData\Roaming" -> "C:\Users"
  const std::size_t firstFolderEnd = appData_.find(L'\\', 3);
  return appData_.substr(0, firstFolderEnd);
}

TExpandedMacros ExpandFolderMacros(const std::wstring& text) {
  for (const Macro& macro : kMacros) {
    const std::vector<std::size_t> positions = Occurrences(text, macro);
    if (positions.empty()) continue;
    const TAppFrame frame;
    const std::size_t length = std::wstring_view(macro.name).size();
    TExpandedMacros result{ReplaceAt(text, positions, length, MacroValue(macro, frame)), L""};
    if (macro.allUsers != kNone) result.allUsers = ReplaceAt(text, positions, length, frame.GetCommonFolder(macro.allUsers));
    return result;
  }
  return {text, L""};
}

}  // namespace orvix
