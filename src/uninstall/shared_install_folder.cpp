#include "uninstall/shared_install_folder.h"

#include "inventory/software_enumeration.h"
#include "platform/text.h"
#include "uninstall/regedit_scan.h"

namespace orvix {

std::vector<std::wstring> OtherProgramFoldersIn(const std::wstring& folder, const TSoftInfo& record,
                                                const TProtectedLocations& locations) {
  std::vector<std::wstring> folders;
  if (folder.empty()) return folders;
  TSoftList entries = EnumerateSoftware();
  for (auto& broken : EntriesWrittenIntoUninstallKeys()) entries.push_back(std::move(broken));
  for (const auto& entry : entries) {
    if (SameText(Trim(entry->DisplayName), Trim(record.DisplayName))) continue;
    const std::wstring other = ScanKeyword(ScanLocation(*entry), locations);
    if (!other.empty() && other.starts_with(folder)) folders.push_back(other);
  }
  return folders;
}

}  // namespace orvix
