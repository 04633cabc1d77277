#include "inventory/rating_shortcut.h"

#include "platform/platform.h"
#include "platform/shell_link_file.h"

namespace orvix {

std::wstring ShortcutTargetPath(const std::wstring& shortcutPath) {
  const auto link = ReadShellLinkFile(shortcutPath);
  if (!link) return {};
  std::wstring target = link->TargetPath();
  if (target.empty() && !link->EnvironmentTarget.empty())
    target = CurrentPlatform().Shell().ExpandEnvironmentStrings(link->EnvironmentTarget);
  return target;
}

}  // namespace orvix
