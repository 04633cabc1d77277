#include "platform/settings.h"

#include <atomic>

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/profile_ini.h"

namespace orvix {
namespace {

constexpr wchar_t kMain[] = L"Main";
constexpr wchar_t kSoftware[] = L"Software";

std::atomic<bool> autoUninstaller{false};
std::atomic<bool> autoPowerfulScan{false};

std::wstring ReadString(const wchar_t* section, const wchar_t* key, const std::wstring& defaultValue) {
  return ReadIniString(SettingsPath(), section, key, defaultValue);
}
int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) {
  return ReadIniInt(SettingsPath(), section, key, defaultValue);
}
bool ReadBool(const wchar_t* key) { return ReadIniBool(SettingsPath(), kMain, key, false); }

bool WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
  return WriteIniString(SettingsPath(), section, key, value);
}
bool WriteInt(const wchar_t* section, const wchar_t* key, int value) {
  return WriteIniInt(SettingsPath(), section, key, value);
}
bool WriteBool(const wchar_t* key, bool value) { return WriteIniBool(SettingsPath(), kMain, key, value); }

}  // namespace

std::wstring DataFolder() {
  std::wstring appData = CurrentPlatform().Shell().GetSpecialFolder(CSIDL_APPDATA);
  while (!appData.empty() && appData.back() == L'\\') appData.pop_back();
  if (appData.empty()) return {};
  const std::wstring folder = appData + L"\\Orvix\\Orvix Uninstaller\\";
  ForceDirectories(folder);
  return folder;
}

std::wstring SettingsPath() {
  const std::wstring folder = DataFolder();
  return folder.empty() ? std::wstring() : folder + L"Main.ini";
}

std::wstring ReadLanguage(const std::wstring& defaultName) { return ReadString(kMain, L"Language", defaultName); }
bool WriteLanguage(const std::wstring& name) { return WriteString(kMain, L"Language", name); }

bool ReadAutoUninstaller() {
  const bool value = ReadBool(L"AutoUninstaller");
  autoUninstaller = value;
  return value;
}
bool WriteAutoUninstaller(bool value) {
  autoUninstaller = value;
  return WriteBool(L"AutoUninstaller", value);
}
bool AutoUninstallerFlag() { return autoUninstaller; }

bool ReadAutoPowerfulScan() {
  const bool value = ReadBool(L"AutoPowerfulScan");
  autoPowerfulScan = value;
  return value;
}
bool WriteAutoPowerfulScan(bool value) {
  autoPowerfulScan = value;
  return WriteBool(L"AutoPowerfulScan", value);
}
bool AutoPowerfulScanFlag() { return autoPowerfulScan; }

bool ReadCreateRestore() { return ReadBool(L"CreateRestore"); }
bool WriteCreateRestore(bool value) { return WriteBool(L"CreateRestore", value); }
bool ReadBatchUninstall() { return ReadBool(L"Batch Uninstall"); }
bool WriteBatchUninstall(bool value) { return WriteBool(L"Batch Uninstall", value); }
int ReadListViewStyle() { return ReadInt(kMain, L"ListView_ViewStyle", 0); }
bool WriteListViewStyle(int style) { return WriteInt(kMain, L"ListView_ViewStyle", style); }
std::wstring ReadUpdateDataBaseDate() { return ReadString(kMain, L"UpdateDataBaseDate", L""); }
bool WriteUpdateDataBaseDate(const std::wstring& date) { return WriteString(kMain, L"UpdateDataBaseDate", date); }

MainWindowPlacement ReadMainWindowPlacement(const WorkAreaSize& workArea) {
  MainWindowPlacement placement;
  placement.maximized = ReadInt(kMain, L"WindowState", 0) == 1;
  placement.width = ReadInt(kMain, L"Width", placement.width);
  placement.height = ReadInt(kMain, L"Height", placement.height);
  placement.left = ReadInt(kMain, L"Left", (workArea.width - placement.width) / 2);
  placement.top = ReadInt(kMain, L"Top", (workArea.height - placement.height) / 2);
  return placement;
}

bool WriteMainWindowPlacement(const MainWindowPlacement& placement) {
  if (placement.maximized) return WriteInt(kMain, L"WindowState", 1);
  bool ok = WriteInt(kMain, L"WindowState", 0);
  ok = WriteInt(kMain, L"Width", placement.width) && ok;
  ok = WriteInt(kMain, L"Height", placement.height) && ok;
  ok = WriteInt(kMain, L"Left", placement.left) && ok;
  return WriteInt(kMain, L"Top", placement.top) && ok;
}

SoftwareListSort ReadSoftwareListSort() {
  SoftwareListSort sort;
  sort.columnIndex = ReadInt(kSoftware, L"ColumnIndex", sort.columnIndex);
  sort.sortState = ReadInt(kSoftware, L"SortState", sort.sortState);
  return sort;
}

bool WriteSoftwareListSort(const SoftwareListSort& sort) {
  const bool ok = WriteInt(kSoftware, L"ColumnIndex", sort.columnIndex);
  return WriteInt(kSoftware, L"SortState", sort.sortState) && ok;
}

}  // namespace orvix
