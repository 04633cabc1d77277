#include "platform/sim/sim_shell.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace orvix::sim {
namespace {

MachineOptions Options(const OsVersionInfo& os, Bitness bitness, const wchar_t* user = L"Ann") {
  MachineOptions options;
  options.os = os;
  options.bitness = bitness;
  options.userName = user;
  return options;
}

constexpr OsVersionInfo kWindowsXp64{5, 2, 3790, 2, false};

constexpr int kAllFolders[] = {
    CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS,           CSIDL_PERSONAL,          CSIDL_FAVORITES,
    CSIDL_STARTUP,          CSIDL_RECENT,             CSIDL_SENDTO,            CSIDL_STARTMENU,
    CSIDL_MYMUSIC,          CSIDL_MYVIDEO,            CSIDL_NETHOOD,           CSIDL_FONTS,
    CSIDL_TEMPLATES,        CSIDL_COMMON_STARTMENU,   CSIDL_COMMON_PROGRAMS,   CSIDL_COMMON_STARTUP,
    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_APPDATA,     CSIDL_PRINTHOOD,         CSIDL_LOCAL_APPDATA,
    CSIDL_COMMON_FAVORITES, CSIDL_INTERNET_CACHE,     CSIDL_COOKIES,           CSIDL_HISTORY,
    CSIDL_COMMON_APPDATA,   CSIDL_WINDOWS,            CSIDL_SYSTEM,            CSIDL_PROGRAM_FILES,
    CSIDL_MYPICTURES,       CSIDL_PROFILE,            CSIDL_SYSTEMX86,         CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_COMMON_TEMPLATES, CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_ADMINTOOLS, CSIDL_ADMINTOOLS,        CSIDL_COMMON_MUSIC,      CSIDL_COMMON_PICTURES,
    CSIDL_COMMON_VIDEO,     CSIDL_RESOURCES,          CSIDL_CDBURN_AREA,
};

TEST(SimShellTest, SpecialFoldersFollowTheWindowsVersionAndBitness) {
  struct Case {
    OsVersionInfo os;
    Bitness bitness;
    int csidl;
    const wchar_t* path;
  };
  const Case cases[] = {
      {kWindows10, Bitness::x64, CSIDL_APPDATA, L"C:\\Users\\Ann\\AppData\\Roaming"},
      {kWindows10, Bitness::x64, CSIDL_LOCAL_APPDATA, L"C:\\Users\\Ann\\AppData\\Local"},
      {kWindows10, Bitness::x64, CSIDL_COMMON_APPDATA, L"C:\\ProgramData"},
      {kWindows10, Bitness::x64, CSIDL_PROGRAM_FILES, L"C:\\Program Files (x86)"},
      {kWindows10, Bitness::x64, CSIDL_PROGRAM_FILESX86, L"C:\\Program Files (x86)"},
      {kWindows10, Bitness::x64, CSIDL_PROGRAM_FILES_COMMON, L"C:\\Program Files (x86)\\Common Files"},
      {kWindows10, Bitness::x64, CSIDL_SYSTEM, L"C:\\Windows\\system32"},
      {kWindows10, Bitness::x64, CSIDL_SYSTEMX86, L"C:\\Windows\\SysWOW64"},
      {kWindows10, Bitness::x64, CSIDL_INTERNET_CACHE, L"C:\\Users\\Ann\\AppData\\Local\\Microsoft\\Windows\\INetCache"},
      {kWindows10, Bitness::x64, CSIDL_COMMON_DESKTOPDIRECTORY, L"C:\\Users\\Public\\Desktop"},
      {kWindows10, Bitness::x64, CSIDL_STARTUP,
       L"C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {kWindows10, Bitness::x64, CSIDL_PERSONAL | 0x8000, L"C:\\Users\\Ann\\Documents"},  // CSIDL_FLAG_CREATE
      {kWindows7, Bitness::x86, CSIDL_PROGRAM_FILES, L"C:\\Program Files"},
      {kWindows7, Bitness::x86, CSIDL_PROGRAM_FILESX86, L"C:\\Program Files"},
      {kWindows7, Bitness::x86, CSIDL_SYSTEMX86, L"C:\\Windows\\system32"},
      {kWindows7, Bitness::x86, CSIDL_INTERNET_CACHE,
       L"C:\\Users\\Ann\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
      {kWindows7, Bitness::x86, CSIDL_COOKIES, L"C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
      {kWindowsXp, Bitness::x86, CSIDL_WINDOWS, L"C:\\WINDOWS"},
      {kWindowsXp, Bitness::x86, CSIDL_APPDATA, L"C:\\Documents and Settings\\Ann\\Application Data"},
      {kWindowsXp, Bitness::x86, CSIDL_LOCAL_APPDATA,
       L"C:\\Documents and Settings\\Ann\\Local Settings\\Application Data"},
      {kWindowsXp, Bitness::x86, CSIDL_COMMON_APPDATA, L"C:\\Documents and Settings\\All Users\\Application Data"},
      {kWindowsXp, Bitness::x86, CSIDL_PERSONAL, L"C:\\Documents and Settings\\Ann\\My Documents"},
      {kWindowsXp, Bitness::x86, CSIDL_COMMON_STARTMENU, L"C:\\Documents and Settings\\All Users\\Start Menu"},
      {kWindowsXp, Bitness::x86, CSIDL_PROGRAM_FILESX86, L""},  // 32-bit XP has none
      {kWindowsXp64, Bitness::x64, CSIDL_PROGRAM_FILES, L"C:\\Program Files (x86)"},
      {kWindowsXp64, Bitness::x64, CSIDL_SYSTEMX86, L"C:\\WINDOWS\\SysWOW64"},
  };
  for (const Case& c : cases) {
    SimMachine machine(Options(c.os, c.bitness));
    EXPECT_EQ(machine.shell.GetSpecialFolder(c.csidl), c.path)
        << "Windows " << c.os.major << "." << c.os.minor << ", CSIDL " << c.csidl;
  }
}

TEST(SimShellTest, EveryFolderIsAnsweredAndExistsOnEveryMachine) {
  for (const OsVersionInfo& os : {kWindowsXp, kWindows7, kWindows10}) {
    for (Bitness bitness : {Bitness::x86, Bitness::x64}) {
      SimMachine machine(Options(os, bitness));
      for (int csidl : kAllFolders) {
        const std::wstring path = machine.Shell().GetSpecialFolder(csidl);
        const bool none = os.major == 5 && bitness == Bitness::x86 &&
                          (csidl == CSIDL_PROGRAM_FILESX86 || csidl == CSIDL_PROGRAM_FILES_COMMONX86);
        EXPECT_EQ(path.empty(), none) << "Windows " << os.major << ", CSIDL " << csidl;
        if (!none) {
          EXPECT_TRUE(machine.files.IsFolder(path)) << ToUtf8(path);
        }
      }
    }
  }
}

TEST(SimShellTest, WindowsSystemAndTemporaryFolders) {
  SimMachine ten;
  EXPECT_EQ(ten.shell.GetWindowsDirectory(), L"C:\\Windows");
  EXPECT_EQ(ten.shell.GetSystemDirectory(), L"C:\\Windows\\system32");  // also for a 32-bit program on 64-bit
  EXPECT_EQ(ten.shell.GetTempPath(), L"C:\\Users\\Ann\\AppData\\Local\\Temp\\");
  EXPECT_TRUE(ten.files.IsFolder(ten.shell.GetTempPath()));

  // XP sets TEMP in its 8.3 form.
  SimMachine xp(Options(kWindowsXp, Bitness::x86, L"Administrator"));
  EXPECT_EQ(xp.shell.GetWindowsDirectory(), L"C:\\WINDOWS");
  EXPECT_EQ(xp.shell.GetSystemDirectory(), L"C:\\WINDOWS\\system32");
  EXPECT_EQ(xp.shell.GetTempPath(), L"C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp\\");
  std::wstring longTemp;
  ASSERT_EQ(xp.files.GetLongPathName(xp.shell.GetTempPath(), &longTemp), ERROR_SUCCESS);
  EXPECT_EQ(longTemp, L"C:\\Documents and Settings\\Administrator\\Local Settings\\Temp\\");

  // GetTempPathW's order: TMP, TEMP, USERPROFILE, the Windows folder.
  ten.shell.SetEnvironmentVariable(L"tmp", L"D:\\Scratch");
  EXPECT_EQ(ten.shell.GetTempPath(), L"D:\\Scratch\\");
  ten.shell.RemoveEnvironmentVariable(L"TMP");
  ten.shell.SetEnvironmentVariable(L"TEMP", L"E:\\T\\");
  EXPECT_EQ(ten.shell.GetTempPath(), L"E:\\T\\");
  ten.shell.RemoveEnvironmentVariable(L"TEMP");
  EXPECT_EQ(ten.shell.GetTempPath(), L"C:\\Users\\Ann\\");
  ten.shell.RemoveEnvironmentVariable(L"USERPROFILE");
  EXPECT_EQ(ten.shell.GetTempPath(), L"C:\\Windows\\");
}

TEST(SimShellTest, EnvironmentMatchesTheWindowsVersionAndBitness) {
  SimMachine ten;
  IShellApi& shell = ten.Shell();
  EXPECT_EQ(shell.GetEnvironmentVariable(L"ProgramFiles"), L"C:\\Program Files (x86)");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"programfiles(X86)"), L"C:\\Program Files (x86)");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"ProgramW6432"), L"C:\\Program Files");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"CommonProgramFiles"), L"C:\\Program Files (x86)\\Common Files");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"LOCALAPPDATA"), L"C:\\Users\\Ann\\AppData\\Local");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"ALLUSERSPROFILE"), L"C:\\ProgramData");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"SystemDrive"), L"C:");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"USERPROFILE"), L"C:\\Users\\Ann");
  EXPECT_EQ(shell.GetEnvironmentVariable(L"PROCESSOR_ARCHITECTURE"), L"x86");  // what a 32-bit program sees
  EXPECT_EQ(shell.GetEnvironmentVariable(L"NoSuchVariable"), std::nullopt);

  SimMachine seven(Options(kWindows7, Bitness::x86));
  EXPECT_EQ(seven.shell.GetEnvironmentVariable(L"ProgramFiles"), L"C:\\Program Files");
  EXPECT_EQ(seven.shell.GetEnvironmentVariable(L"ProgramFiles(x86)"), std::nullopt);
  EXPECT_EQ(seven.shell.GetEnvironmentVariable(L"ProgramW6432"), std::nullopt);

  SimMachine xp(Options(kWindowsXp, Bitness::x86));
  EXPECT_EQ(xp.shell.GetEnvironmentVariable(L"ALLUSERSPROFILE"), L"C:\\Documents and Settings\\All Users");
  EXPECT_EQ(xp.shell.GetEnvironmentVariable(L"APPDATA"), L"C:\\Documents and Settings\\Ann\\Application Data");
  EXPECT_EQ(xp.shell.GetEnvironmentVariable(L"LOCALAPPDATA"), std::nullopt);
  EXPECT_EQ(xp.shell.GetEnvironmentVariable(L"ProgramData"), std::nullopt);
  EXPECT_EQ(xp.shell.GetEnvironmentVariable(L"windir"), L"C:\\WINDOWS");
}

TEST(SimShellTest, ExpansionIgnoresCaseAndLeavesUnknownVariablesAsWindowsDoes) {
  SimMachine machine;
  machine.shell.SetEnvironmentVariable(L"MyVar", L"value");
  struct Case {
    const wchar_t* text;
    const wchar_t* expanded;
  };
  const Case cases[] = {
      {L"%windir%\\notepad.exe", L"C:\\Windows\\notepad.exe"},
      {L"%SYSTEMROOT%\\system32", L"C:\\Windows\\system32"},
      {L"\"%ProgramFiles%\\Foo\\uninst.exe\" /S", L"\"C:\\Program Files (x86)\\Foo\\uninst.exe\" /S"},
      {L"%myvar%-%MYVAR%", L"value-value"},
      {L"%NoSuch%\\x", L"%NoSuch%\\x"},
      // The closing "%" of an unknown name opens the next variable.
      {L"%NoSuch%windir%", L"%NoSuchC:\\Windows"},
      {L"100% sure", L"100% sure"},
      {L"%%", L"%%"},
      {L"%windir", L"%windir"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(machine.shell.ExpandEnvironmentStrings(c.text), c.expanded) << ToUtf8(c.text);
}

TEST(SimShellTest, ModuleFileNameAndShellRequests) {
  SimMachine x64;
  EXPECT_EQ(x64.shell.GetModuleFileName(), L"C:\\Program Files (x86)\\Orvix Uninstaller\\OrvixUninstaller.exe");
  SimMachine x86(Options(kWindows10, Bitness::x86));
  EXPECT_EQ(x86.shell.GetModuleFileName(), L"C:\\Program Files\\Orvix Uninstaller\\OrvixUninstaller.exe");
  x86.shell.SetModuleFileName(L"D:\\Portable\\OrvixUninstaller.exe");
  EXPECT_EQ(x86.Shell().GetModuleFileName(), L"D:\\Portable\\OrvixUninstaller.exe");

  EXPECT_TRUE(x64.Shell().ShellExecute(L"open", L"RunDll32.exe", L"srclient.dll", L"", SW_SHOWNORMAL));
  x64.shell.SetShellExecuteResult(false);
  EXPECT_FALSE(x64.Shell().ShellExecute(L"", L"https://example.org/", L"", L"C:\\", SW_HIDE));
  const std::vector<ShellRequest> requests = x64.shell.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].verb, L"open");
  EXPECT_EQ(requests[0].file, L"RunDll32.exe");
  EXPECT_EQ(requests[0].parameters, L"srclient.dll");
  EXPECT_EQ(requests[0].show, SW_SHOWNORMAL);
  EXPECT_EQ(requests[1].directory, L"C:\\");
}

TEST(SimShellTest, VistaAndLaterKeepCompatibilityJunctionsThatCannotBeListed) {
  SimMachine machine;
  SimFileSystem& files = machine.files;
  const std::optional<FileAttributeData> link = files.Attributes(L"C:\\Users\\Ann\\Application Data");
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->attributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(files.Attributes(L"C:\\Users\\Ann\\AppData")->attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(files.Attributes(L"C:\\ProgramData")->attributes & FILE_ATTRIBUTE_HIDDEN);

  FindData data;
  FindHandle handle = 0;
  EXPECT_EQ(files.FindFirst(L"C:\\Users\\Ann\\Application Data\\*", &data, &handle), ERROR_ACCESS_DENIED);
  EXPECT_EQ(files.FindFirst(L"C:\\Users\\All Users", &data, &handle), ERROR_SUCCESS);
  EXPECT_EQ(data.reparseTag, IO_REPARSE_TAG_SYMLINK);
  files.FindClose(handle);

  files.PutFile(L"C:\\Users\\Ann\\AppData\\Roaming\\Foo\\settings.ini", "x");
  FileAttributeData through;
  EXPECT_EQ(files.GetAttributes(L"C:\\Documents and Settings\\Ann\\Application Data\\Foo\\settings.ini", &through),
            ERROR_SUCCESS);
  EXPECT_EQ(files.GetAttributes(L"C:\\Users\\Ann\\AppData\\Local\\Application Data\\Application Data", &through),
            ERROR_SUCCESS);  // the junction that points at its own folder

  SimMachine xp(Options(kWindowsXp, Bitness::x86));
  EXPECT_EQ(xp.files.Attributes(L"C:\\Documents and Settings")->attributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(xp.files.Exists(L"C:\\Users"));
}

TEST(SimShellTest, RegistryKeepsTheShellFoldersAndProgramFilesOfEachView) {
  SimMachine x64;
  x64.shell.WriteRegistryFolders(x64.registry);
  const std::wstring explorer = L"\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  EXPECT_EQ(x64.registry.GetString(L"HKCU\\Software" + explorer, L"Desktop"), L"C:\\Users\\Ann\\Desktop");
  EXPECT_EQ(x64.registry.GetString(L"HKCU\\Software" + explorer, L"Start Menu"),
            L"C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu");
  EXPECT_EQ(x64.registry.GetString(L"HKLM\\SOFTWARE" + explorer, L"Common AppData"), L"C:\\ProgramData");
  EXPECT_EQ(x64.registry.GetString(L"HKLM\\SOFTWARE\\Wow6432Node" + explorer, L"Common AppData"), L"C:\\ProgramData");
  const std::wstring version = L"\\Microsoft\\Windows\\CurrentVersion";
  EXPECT_EQ(x64.registry.GetString(L"HKLM\\SOFTWARE" + version, L"ProgramFilesDir"), L"C:\\Program Files");
  EXPECT_EQ(x64.registry.GetString(L"HKLM\\SOFTWARE" + version, L"ProgramFilesDir (x86)"), L"C:\\Program Files (x86)");
  EXPECT_EQ(x64.registry.GetString(L"HKLM\\SOFTWARE\\Wow6432Node" + version, L"ProgramFilesDir"),
            L"C:\\Program Files (x86)");

  SimMachine xp(Options(kWindowsXp, Bitness::x86));
  xp.shell.WriteRegistryFolders(xp.registry);
  EXPECT_EQ(xp.registry.GetString(L"HKCU\\Software" + explorer, L"AppData"),
            L"C:\\Documents and Settings\\Ann\\Application Data");
  EXPECT_EQ(xp.registry.GetString(L"HKLM\\SOFTWARE" + version, L"ProgramFilesDir"), L"C:\\Program Files");
  EXPECT_EQ(xp.registry.GetString(L"HKLM\\SOFTWARE" + version, L"ProgramFilesDir (x86)"), std::nullopt);
  EXPECT_FALSE(xp.registry.HasKey(L"HKLM\\SOFTWARE\\Wow6432Node"));
}

}  // namespace
}  // namespace orvix::sim
