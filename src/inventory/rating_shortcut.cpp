#include "inventory/rating_shortcut.h"

#include "formats/shell_link.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"

namespace orvix {
namespace {

// Shortcuts are a few kilobytes; anything this large is not worth reading.
constexpr std::uint64_t kMaxShortcutSize = 1 << 20;

}  // namespace

std::wstring ShortcutTargetPath(const std::wstring& shortcutPath) {
  Platform& platform = CurrentPlatform();
  FileAttributeData attributes;
  if (platform.Files().GetAttributes(shortcutPath, &attributes) != ERROR_SUCCESS ||
      (attributes.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || attributes.size > kMaxShortcutSize)
    return {};
  Bytes bytes;
  if (!ReadFileBytes(shortcutPath, bytes) || bytes.size() > kMaxShortcutSize) return {};
  const auto link = ParseShellLink(bytes.data(), bytes.size(),
                                   [&](std::string_view text) { return platform.Locale().FromAnsi(text); });
  if (!link) return {};
  std::wstring target = link->TargetPath();
  if (target.empty() && !link->EnvironmentTarget.empty())
    target = platform.Shell().ExpandEnvironmentStrings(link->EnvironmentTarget);
  return target;
}

}  // namespace orvix
