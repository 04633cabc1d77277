// Entry points of the readers that take their data from the machine: files,
// registry values and the texts installers leave there. Each entry writes
// its input where the reader looks, reads it back and removes it again, so
// that one machine serves every run of a fuzz process.
#include <string>
#include <vector>

#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_input.h"
#include "inventory/rating.h"
#include "inventory/rating_classes.h"
#include "inventory/rating_logon.h"
#include "inventory/rating_user_assist.h"
#include "platform/app_frame.h"
#include "platform/command_paths.h"
#include "platform/ext_ini_file.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "uninstall/scan_registry.h"

namespace orvix::fuzz {
namespace {

constexpr const wchar_t* kFuzzFolder = L"C:\\OrvixFuzz\\";
constexpr const wchar_t* kFuzzKey = L"Software\\OrvixFuzz";
constexpr const wchar_t* kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Writes a file of the fuzz folder and returns its path.
std::wstring PutFile(const std::wstring& name, const Bytes& bytes) {
  ForceDirectories(kFuzzFolder);
  const std::wstring path = kFuzzFolder + name;
  FuzzCheck(ReplaceFileBytes(path, bytes), "the simulated disk takes the input");
  return path;
}

// A registry value that exists for one scope.
class ScopedValue {
 public:
  ScopedValue(HKEY root, std::wstring key, std::wstring name, DWORD type, const Bytes& data)
      : root_(root), key_(std::move(key)), name_(std::move(name)) {
    IRegistryApi& api = CurrentPlatform().Registry();
    HKEY handle = 0;
    FuzzCheck(api.CreateKey(root_, key_, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS, "the key is created");
    api.SetValue(handle, name_, type, data.data(), static_cast<DWORD>(data.size()));
    api.CloseKey(handle);
  }
  ~ScopedValue() {
    IRegistryApi& api = CurrentPlatform().Registry();
    HKEY handle = 0;
    if (api.OpenKey(root_, key_, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    api.DeleteValue(handle, name_);
    api.CloseKey(handle);
  }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  HKEY root_;
  std::wstring key_;
  std::wstring name_;
};

Bytes TextBytes(const std::wstring& text) {
  Bytes bytes = ToUtf16Le(text);
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

}  // namespace

// Input: the section, key and value to read and write, a number, then the
// file (cache or language file) in any encoding.
void FuzzExtIniFile(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::wstring section = input.Field();
  const std::wstring key = input.Field();
  const std::wstring value = input.Field();
  const double number = input.Double();
  const std::wstring path = PutFile(L"file.ini", input.Rest());
  TExtIniFile ini;
  FuzzCheck(ini.Load(path), "a written file loads");
  ini.ReadSection(section);
  ini.ReadSectionValues(section);
  ini.ReadString(section, key, L"");
  ini.ReadInteger(section, key, 0);
  ini.ReadFloat(section, key, 0);
  const std::wstring text = ini.Text();
  TExtIniFile again;
  again.LoadText(text);
  FuzzCheck(again.Text() == text, "the saved form of a file reads back as it is");
  ini.WriteString(section, key, value);
  ini.WriteFloat(section, key + L"f", number);
  ini.ReadFloat(section, key + L"f", 0);
  // A key with "=" in it, or one that reads as a comment or a section, is
  // no key of a file: only other keys must read back as they were written.
  const std::wstring keyName = Trim(key);
  const bool plainKey = keyName.find(L'=') == std::wstring::npos && !keyName.starts_with(L';') && !keyName.starts_with(L'[');
  FuzzCheck(ini.Save(path) && again.Load(path), "a saved file loads");
  if (plainKey) FuzzCheck(again.Text() == ini.Text(), "a saved file loads as it was");
  ini.DeleteKey(section, key);
  ini.EraseSection(section);
  FuzzCheck(ini.ReadSection(section).empty(), "an erased section has no keys");
}

// Input: the layout, a UserAssist value's decoded name and its data, a Run
// value's command, an install location, two dates, then the shortcut a name
// ending in ".lnk" may point at (C:\OrvixFuzz\start.lnk).
void FuzzUsageRating(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const int osKind = input.Byte() % (kOsKindNewer + 1);
  const std::wstring name = input.Field();
  const Bytes startData = input.Chunk();
  const std::wstring command = input.Field();
  const std::wstring location = input.Field();
  const TDateTime lastUse = input.Double();
  const TDateTime installDate = input.Double();
  PutFile(L"start.lnk", input.Rest());

  const ScopedValue start(HKEY_CURRENT_USER, UserAssistKeys(osKind).front(), Rot13(name), REG_BINARY, startData);
  const ScopedValue run(HKEY_CURRENT_USER, kRunKey, L"fuzz", REG_SZ, TextBytes(command));
  ReadUserAssist(osKind);
  UserAssistLastStart(startData, osKind);
  UserAssistFolder(name);
  LogonFolderOf(command);
  ReadLogonFolders();
  const TAppUseRange range = ClassifyUseRange(lastUse, NowLocal());
  ClassifyUseRate(range, installDate, NowLocal(), aurUnknown);
  ClassifyUseRange(lastUse, installDate);
  TAppRateHelper rater;
  rater.Rate(location, installDate);
}

// Input: an uninstall command, a display icon, a readme text and an install
// location, as an Uninstall entry holds them.
void FuzzCommandPaths(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::wstring command = input.Field();
  const std::wstring icon = input.Field();
  const std::wstring readme = input.Field();
  const std::wstring location = input.Field();
  CommandToFilePath(command);
  CommandToFilePath(icon);
  CleanCommandText(command);
  CleanInstallLocation(location);
  const std::wstring folder = FolderFromUninstallCommand(command, icon, readme);
  FuzzCheck(folder.empty() || IsOrdinaryFolder(folder), "a folder from a command is an ordinary one");
  CutAtExecutableExtension(command);
  IsOrdinaryFolder(location);
  UrlEncode(location);
  UrlEncodeUtf8(location);
}

// Input: a text with folder macros or environment variables.
void FuzzFolderMacros(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = FromUtf16Le(data, size);
  ExpandFolderMacros(text);
  CurrentPlatform().Shell().ExpandEnvironmentStrings(text);
}

// Input: a value type, then the value's data: every type, any size.
void FuzzRegistryText(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const DWORD type = input.Number();
  const ScopedValue value(HKEY_CURRENT_USER, kFuzzKey, L"value", type, input.Rest());
  const std::wstring keyPath = std::wstring(L"\\") + kFuzzKey;
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  FuzzCheck(reg.OpenKeyReadOnly(keyPath), "the fuzz key opens");
  ReadValueAsText(reg, L"value");
  reg.GetDataSize(L"value");
  reg.GetDataType(L"value");
  try {
    reg.ReadString(L"value");
  } catch (const ERegistryException&) {
    // data of another type: the documented answer
  }
  try {
    reg.ReadInteger(L"value");
  } catch (const ERegistryException&) {
  }
  reg.CloseKey();
  TRegistryEx regEx;
  regEx.SetRootKey(HKEY_CURRENT_USER);
  if (regEx.OpenKeyReadOnly(keyPath)) {
    try {
      regEx.ReadString(L"value");
    } catch (const ERegistryException&) {
    }
  }
  RegReadStringAt(L"HKEY_CURRENT_USER", keyPath, L"value", false);
  RegReadIntegerAt(L"HKEY_CURRENT_USER", keyPath, L"value", false);
}

}  // namespace orvix::fuzz
