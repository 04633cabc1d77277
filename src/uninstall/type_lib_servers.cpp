#include "uninstall/type_lib_servers.h"

#include "platform/text.h"
#include "platform/view_paths.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

// Version and locale keys lie two levels below the library; deeper trees are
// not type libraries.
constexpr int kMaxDepth = 4;

void CollectServers(TScanKey& key, int depth, std::vector<std::wstring>& servers) {
  for (const std::wstring& name : key.SubKeyNames()) {
    TScanKey sub(key.Root(), key.Below(name), key.View64());
    if (!sub) continue;
    if (SameText(name, L"win32") || SameText(name, L"win64")) {
      // The win32 and win64 keys name a 32-bit and a 64-bit program's server.
      const std::wstring server = PathTextForView(sub.ValueText(L""), SameText(name, L"win64"));
      if (!Trim(server).empty()) servers.push_back(server);
    } else if (depth < kMaxDepth) {
      CollectServers(sub, depth + 1, servers);
    }
  }
}

}  // namespace

std::vector<std::wstring> TypeLibServers(TRegeditScanClasses& scan, const std::wstring& id) {
  std::vector<std::wstring> servers;
  if (Trim(id).empty() || id.find(L'\\') != std::wstring::npos) return servers;
  TScanKey library(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\TypeLib\\" + id, scan.View64());
  if (library) CollectServers(library, 1, servers);
  return servers;
}

}  // namespace orvix
