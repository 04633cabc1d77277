#include "online/updater_launch.h"

#include "online/score_db_helper.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"

namespace orvix {
namespace {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

}  // namespace

std::wstring UpdaterParameters(TUpdaterMode mode, const std::wstring& executable, const std::wstring& folder,
                               const std::wstring& language) {
  const std::wstring modeText = mode == TUpdaterMode::Auto ? L"/appupt /auto /product uninstaller /fn  \""
                                                           : L"/appupt /manual /product uninstaller /fn \"";
  return modeText + executable + L"\" /location \"" + folder + L"\" /language " + language;
}

bool LaunchUpdater(TUpdaterMode mode, const std::wstring& language) {
  if (!RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", kUpdaterKey, false)) return false;
  const std::wstring updater = RegReadStringAt(L"HKEY_LOCAL_MACHINE", kUpdaterKey, L"AppPath", false);
  const std::wstring executable = RegReadStringAt(L"HKEY_LOCAL_MACHINE", kOwnUninstallKey, L"InstallLocation", false);
  const std::wstring folder = OwnInstallFolder();
  if (updater.empty() || executable.empty() || !FileExists(updater)) return false;
  return CurrentPlatform().Shell().ShellExecute(L"open", updater, UpdaterParameters(mode, executable, folder, language),
                                                L"", kShowNormal);
}

}  // namespace orvix
