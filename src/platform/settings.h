// The per-user data folder and the settings file "Main.ini" in it. Every
// setting is read and written one key at a time (profile_ini.h): a write
// reaches the file at once, a missing file or key reads as the default.
#pragma once

#include <string>

namespace orvix {

// The application data folder (CSIDL_APPDATA) + "\Orvix\Orvix Uninstaller\".
// It ends with a backslash so that callers append file and folder names
// directly ("Main.ini", "Log\"). Creates "Orvix" and "Orvix Uninstaller" when
// they are missing. Empty when the system names no application data folder.
std::wstring DataFolder();
// DataFolder() + "Main.ini"; empty when there is no data folder.
std::wstring SettingsPath();

// [Main] Language: internal name of the interface language.
std::wstring ReadLanguage(const std::wstring& defaultName = L"English");
bool WriteLanguage(const std::wstring& name);

// [Main] AutoUninstaller and AutoPowerfulScan. Reading stores the value in a
// process-wide flag that the uninstall window consults; writing stores it too.
bool ReadAutoUninstaller();
bool WriteAutoUninstaller(bool value);
bool AutoUninstallerFlag();
bool ReadAutoPowerfulScan();
bool WriteAutoPowerfulScan(bool value);
bool AutoPowerfulScanFlag();

// [Main] CreateRestore: make a system restore point before uninstalling.
bool ReadCreateRestore();
bool WriteCreateRestore(bool value);
// [Main] "Batch Uninstall": check boxes in the software list.
bool ReadBatchUninstall();
bool WriteBatchUninstall(bool value);
// [Main] ListView_ViewStyle: 0 details, 1 icons.
int ReadListViewStyle();
bool WriteListViewStyle(int style);
// [Main] UpdateDataBaseDate: "mm/dd/yyyy hh:mm:ss" of the last score database download, empty when none.
std::wstring ReadUpdateDataBaseDate();
bool WriteUpdateDataBaseDate(const std::wstring& date);

// [Main] WindowState, Width, Height, Left and Top of the main window.
struct WorkAreaSize {
  int width = 0;
  int height = 0;
};
struct MainWindowPlacement {
  bool maximized = false;
  int left = 0;
  int top = 0;
  int width = 870;
  int height = 570;
};
// Missing Left and Top centre the window in the work area.
MainWindowPlacement ReadMainWindowPlacement(const WorkAreaSize& workArea);
// On close. A maximised window writes only WindowState=1, so the file keeps
// the last normal bounds for the next start.
bool WriteMainWindowPlacement(const MainWindowPlacement& placement);

// [Software] ColumnIndex and SortState (0 none, 1 ascending, 2 descending).
struct SoftwareListSort {
  int columnIndex = 0;
  int sortState = 1;
};
SoftwareListSort ReadSoftwareListSort();
bool WriteSoftwareListSort(const SoftwareListSort& sort);

}  // namespace orvix
