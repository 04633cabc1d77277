// Special folders, the environment and the shell: where things are on this
// Windows, and starting documents and programs through the shell.
#pragma once

#include <optional>
#include <string>

#include "platform/win_types.h"

namespace orvix {

// CSIDL numbers of the special folders the system asks for.
enum TCsidl : int {
  CSIDL_DESKTOPDIRECTORY = 0x10,
  CSIDL_PROGRAMS = 0x02,
  CSIDL_PERSONAL = 0x05,
  CSIDL_FAVORITES = 0x06,
  CSIDL_STARTUP = 0x07,
  CSIDL_RECENT = 0x08,
  CSIDL_SENDTO = 0x09,
  CSIDL_STARTMENU = 0x0B,
  CSIDL_MYMUSIC = 0x0D,
  CSIDL_MYVIDEO = 0x0E,
  CSIDL_NETHOOD = 0x13,
  CSIDL_FONTS = 0x14,
  CSIDL_TEMPLATES = 0x15,
  CSIDL_COMMON_STARTMENU = 0x16,
  CSIDL_COMMON_PROGRAMS = 0x17,
  CSIDL_COMMON_STARTUP = 0x18,
  CSIDL_COMMON_DESKTOPDIRECTORY = 0x19,
  CSIDL_APPDATA = 0x1A,
  CSIDL_PRINTHOOD = 0x1B,
  CSIDL_LOCAL_APPDATA = 0x1C,
  CSIDL_COMMON_FAVORITES = 0x1F,
  CSIDL_INTERNET_CACHE = 0x20,
  CSIDL_COOKIES = 0x21,
  CSIDL_HISTORY = 0x22,
  CSIDL_COMMON_APPDATA = 0x23,
  CSIDL_WINDOWS = 0x24,
  CSIDL_SYSTEM = 0x25,
  CSIDL_PROGRAM_FILES = 0x26,
  CSIDL_MYPICTURES = 0x27,
  CSIDL_PROFILE = 0x28,
  CSIDL_SYSTEMX86 = 0x29,
  CSIDL_PROGRAM_FILESX86 = 0x2A,
  CSIDL_PROGRAM_FILES_COMMON = 0x2B,
  CSIDL_PROGRAM_FILES_COMMONX86 = 0x2C,
  CSIDL_COMMON_TEMPLATES = 0x2D,
  CSIDL_COMMON_DOCUMENTS = 0x2E,
  CSIDL_COMMON_ADMINTOOLS = 0x2F,
  CSIDL_ADMINTOOLS = 0x30,
  CSIDL_COMMON_MUSIC = 0x35,
  CSIDL_COMMON_PICTURES = 0x36,
  CSIDL_COMMON_VIDEO = 0x37,
  CSIDL_RESOURCES = 0x38,
  CSIDL_CDBURN_AREA = 0x3B,
};

class IShellApi {
 public:
  virtual ~IShellApi() = default;

  // GetWindowsDirectoryW, GetSystemDirectoryW (System32 for a 32-bit process
  // on 64-bit Windows too, which file-system redirection then turns into
  // SysWOW64; CSIDL_SYSTEMX86 names SysWOW64 itself) and GetTempPathW (with
  // its trailing backslash).
  virtual std::wstring GetWindowsDirectory() = 0;
  virtual std::wstring GetSystemDirectory() = 0;
  virtual std::wstring GetTempPath() = 0;
  // SHGetSpecialFolderPathW without creating: empty when the system has none.
  virtual std::wstring GetSpecialFolder(int csidl) = 0;
  // SHGetKnownFolderPath without creating, for a known-folder id written as
  // "{6D809377-6AF0-444B-8957-A3773F02200E}" (any letter case). The function
  // is looked up at run time (Vista and later); empty when the system lacks
  // it, the text is no id, or the system answers no folder, as it does for
  // the 64-bit Program Files folders to a 32-bit program.
  virtual std::wstring GetKnownFolderPath(const std::wstring& guid) = 0;
  // The full path of the running program.
  virtual std::wstring GetModuleFileName() = 0;

  virtual std::optional<std::wstring> GetEnvironmentVariable(const std::wstring& name) = 0;
  // ExpandEnvironmentStringsW: unknown variables stay as written.
  virtual std::wstring ExpandEnvironmentStrings(const std::wstring& text) = 0;

  // The target path of a shortcut file as the ShellLink object answers it
  // (loaded through IPersistFile, IShellLinkW::GetPath into 260 characters,
  // without resolving): empty when the shell cannot load the file or the
  // shortcut names no path.
  virtual std::wstring GetShortcutPath(const std::wstring& shortcut) = 0;

  // ShellExecuteW; true when the shell accepted the request.
  virtual bool ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                            const std::wstring& directory, int show) = 0;
};

}  // namespace orvix
